# Debian packages, one per program: users who only update the firmware install the small uploader.
# `cmake --build <folder> --target package` writes them into the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT "Seed a6f5deac maintainers <maintainers@users.noreply.c-seed-a6f5deac.example>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Everything else (tests, benchmarks, converter-sim, tools) stays out of the packages.
set(CPACK_COMPONENTS_ALL configurator uploader)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_CONFIGURATOR_PACKAGE_NAME zarni-configurator)
set(CPACK_DEBIAN_CONFIGURATOR_DESCRIPTION
    "Configurator of the in-car MAF signal converter
Reads and writes the converter's two 256-point conversion tables and eight
parameters over a serial line, edits them as curves, shows the engine live
on a dashboard, tunes the table from the O2 sensor, records and reviews runs,
compares table files and updates the firmware.")
set(CPACK_DEBIAN_UPLOADER_PACKAGE_NAME zarni-uploader)
set(CPACK_DEBIAN_UPLOADER_DESCRIPTION
    "Firmware uploader of the in-car MAF signal converter
Sends a firmware file to the converter over a serial port; for users who
only update the firmware.")

include(CPack)
