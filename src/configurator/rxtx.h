#pragma once
// The configurator's serial link: owns the port, opens the one the user picks, offers the converter
// exchanges its blocking byte operations and turns their failures into the texts the user is shown.
// It shows nothing itself: it reports them, and the window's presenter shows them.
// Where pseudo-terminals exist, the "Simulator" entry serves the simulated converter in-process on
// one, which the same port code then opens like any serial port.

#include "com_port.h"
#ifdef ZARNI_HAS_SIMULATOR
#include "simulator_port.h"
#endif
#include "zarni_broadcaster.h"

#include <QObject>

#include <atomic>
#include <exception>
#include <string>
#include <string_view>

class TRXTX : public QObject, public TListener, public BytePort {
    Q_OBJECT
public:
    // How a report is shown: the program's message box, or the toolkit's standard error box for a
    // failure that no exchange expected.
    enum class ReportKind { Message, ErrorBox };

#ifdef ZARNI_HAS_SIMULATOR
    // The port list entry of the simulated converter.
    static constexpr const char* SimulatorPortName = SimulatorPort::kName;
#endif

    // Registers with the bus; the port is configured but not opened.
    TRXTX(QObject* owner, TZarniBroadcaster& broadcaster);
    // Stops the simulated converter before the port closes.
    ~TRXTX() override;

    // Opens the port on MSG_SET_COM_PORT; an open failure travels back to the sender.
    void Dispatch(TMessage& message) override;
    // Closes the current port and opens the named one. Throws ESerialError, leaving Connected false.
    void OpenPort(const std::string& name);
    // Closes the port; a reader waiting in a read wakes at once.
    void ClosePort();

    // None of these looks at Connected; the exchanges do.
    int Write(const std::uint8_t* data, int count) override;
    int Read(std::uint8_t* buffer, int count) override;
    void ClearInput() override;
    void ClearOutput() override;

    // A serial-layer failure reports the port message; any other failure its own text for the
    // standard error box.
    void ReportPortError(const std::exception& failure);
    // Reports the message for a failure code of the exchanges (only its first character counts).
    void ReportLinkError(std::string_view code, int received, int expected);
    // Reports a text of the exchanges as it stands.
    void ReportMessage(const QString& text);

#ifdef ZARNI_HAS_SIMULATOR
    // The simulated converter once "Simulator" has been chosen, otherwise null.
    SimulatorServer* Simulator() const { return simulator.Server(); }
#endif

    bool Connected() const { return connected; }
    // False only while the live reader thread is inside a read.
    bool PortFree() const { return portFree; }
    // The flag the live reader writes around each of its reads.
    std::atomic<bool>& PortFreeFlag() { return portFree; }

    TComPort Port;

signals:
    void Reported(const QString& text, TRXTX::ReportKind kind);

private:
    std::atomic<bool> connected{false};
    std::atomic<bool> portFree{true};
#ifdef ZARNI_HAS_SIMULATOR
    // Started at its first choice and kept until the link goes.
    SimulatorPort simulator;
#endif
};
