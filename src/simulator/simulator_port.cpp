#include "simulator_port.h"

#include "byte_port.h"

#include <system_error>

SimulatorPort::SimulatorPort(std::function<ConverterModel()> makeModel) : makeModel(std::move(makeModel)) {}

std::string SimulatorPort::DeviceFor(const std::string& name) {
    if (name != kName)
        return name;
    if (!server) {
        try {
            server = std::make_unique<SimulatorServer>(makeModel());
        } catch (const std::system_error& e) {
            throw ESerialError(kOpenFailedText, e.code().value());
        }
    }
    return server->SlavePath();
}
