# Gives a program's library the "Simulator" port entry, which serves the simulated converter
# in-process, where the simulator is built; the sources ask ZARNI_HAS_SIMULATOR.
function(zarni_offer_simulator target)
  if(ZARNI_BUILD_SIMULATOR)
    target_link_libraries(${target} PUBLIC zarni_simulator)
    target_compile_definitions(${target} PUBLIC ZARNI_HAS_SIMULATOR)
  endif()
endfunction()
