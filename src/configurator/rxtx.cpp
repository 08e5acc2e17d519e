#include "rxtx.h"

#include "converter_protocol.h"
#include "path_text.h"

TRXTX::TRXTX(QObject* owner, TZarniBroadcaster& broadcaster) : QObject(owner) {
    setObjectName("RXTX");
    broadcaster.AddListener(this);
}

TRXTX::~TRXTX() {
#ifdef ZARNI_HAS_SIMULATOR
    // The serving thread is joined before the terminal it serves goes, and before the port (a
    // member, so destroyed after this body) closes.
    simulator.Stop();
#endif
}

void TRXTX::Dispatch(TMessage& message) {
    if (message.Msg == MSG_SET_COM_PORT)
        OpenPort(static_cast<TMsgSetComPort&>(message).PortName);
}

void TRXTX::ClosePort() {
    Port.Close();
    connected = false;
}

void TRXTX::OpenPort(const std::string& name) {
    ClosePort();
#ifdef ZARNI_HAS_SIMULATOR
    Port.SetPortName(simulator.DeviceFor(name));
#else
    Port.SetPortName(name);
#endif
    Port.Open();
    connected = true;
}

int TRXTX::Write(const std::uint8_t* data, int count) {
    return Port.Write(data, count);
}

int TRXTX::Read(std::uint8_t* buffer, int count) {
    return Port.Read(buffer, count);
}

void TRXTX::ClearInput() {
    Port.ClearInput();
}

void TRXTX::ClearOutput() {
    Port.ClearOutput();
}

void TRXTX::ReportPortError(const std::exception& failure) {
    if (dynamic_cast<const ESerialError*>(&failure))
        ReportMessage(FromUtf8(PortErrorMessage));
    else
        emit Reported(QString::fromUtf8(failure.what()), ReportKind::ErrorBox);
}

void TRXTX::ReportLinkError(std::string_view code, int received, int expected) {
    const std::string text = linkErrorMessage(code, received, expected);
    if (!text.empty())
        ReportMessage(FromUtf8(text));
}

void TRXTX::ReportMessage(const QString& text) {
    emit Reported(text, ReportKind::Message);
}
