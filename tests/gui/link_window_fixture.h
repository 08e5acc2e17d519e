#pragma once
// A main window with its progress window, to be connected to the simulated converter the way a user
// connects it: by choosing a port.

#include "gui_test_support.h"
#include "main_window.h"
#include "message_box_recorder.h"
#include "progress_window.h"
#include "rxtx.h"
#include "simulator_server.h"
#include "table.h"

#include <QComboBox>
#include <QLineEdit>

#include <chrono>
#include <memory>

class LinkWindowTest : public ::testing::Test {
protected:
    LinkWindowTest() {
        progress->FormCreate(form->WorkingTable());
        form->AdoptProgressWindow(progress.get());
        // Long enough for the simulated converter to store the image, short enough for a test.
        form->WorkingTable()->SetWriteStepPause(std::chrono::milliseconds(5));
        boxes.Clear();
    }

    // The entry (added first when the system does not list it) is picked and activated.
    void ChoosePort(const QString& name) {
        QComboBox* ports = Find<QComboBox>(form.get(), "ComComboBox1");
        int index = ports->findText(name);
        if (index < 0) {
            ports->addItem(name);
            index = ports->count() - 1;
        }
        ports->setCurrentIndex(index);
        emit ports->activated(index);
    }

    // A converter of the test's own, with faults, reached by its terminal's path.
    void ChooseOwnConverter(FaultSwitches faults) {
        converter = std::make_unique<SimulatorServer>(ConverterModel(faults));
        ChoosePort(QString::fromStdString(converter->SlavePath()));
    }

    QString BoxText(const char* name) { return Find<QLineEdit>(form.get(), name)->text(); }
    void SetBoxText(const char* name, const QString& text) {
        Find<QLineEdit>(form.get(), name)->setText(text);
    }

    MessageBoxRecorder boxes;
    std::unique_ptr<SimulatorServer> converter; // outlives the window's port
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    std::unique_ptr<TForm2> progress = std::make_unique<TForm2>(form.get());
};

inline const QString NoReplyText =
    "Converter doesn't respond. Please check supply voltage,COM port cable, Bluetooth adapter.\n\n"
    "Конвертер не отвечает. Проверьте наличие питания, кабель COM порта, адаптер Bluetooth\n\n\n";
