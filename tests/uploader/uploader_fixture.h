#pragma once
// The uploader's window with a converter of the test's own in update mode, reached as a user reaches
// it: by typing its port or choosing it from the list; the file dialog and the message boxes answered.

#include "bar_gauge.h"
#include "firmware_files.h"
#include "gui_test_support.h"
#include "message_box_recorder.h"
#include "simulator_server.h"
#include "uploader_window.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

inline const QString kNoReply = "Device is not responding or is not connected!";
inline const QString kRejected =
    "Device is not responding! Check supply voltage, error CRC or bad firmware file. ";

class UploaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousChooser = uploader::TForm1::DialogChooser();
        uploader::TForm1::DialogChooser() = [this](QFileDialog& dialog) {
            filters << dialog.nameFilters().join(";;");
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        gauge = Find<TGauge>(&form, "Gauge1");
        firmware = Find<QAction>(&form, "N1");
    }
    void TearDown() override { uploader::TForm1::DialogChooser() = previousChooser; }

    QString FirmwareFile(const QByteArray& text) const { return WriteFirmwareFile(folder, text); }
    // Typed into the port box and confirmed with Enter, as a user names a port the list lacks.
    void TypePort(const QString& name) {
        QComboBox* com = Find<QComboBox>(&form, "COM");
        com->lineEdit()->selectAll();
        QTest::keyClicks(com->lineEdit(), name);
        QTest::keyClick(com->lineEdit(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void ChooseListedPort(const QString& name) {
        QComboBox* com = Find<QComboBox>(&form, "COM");
        const int index = com->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        com->setCurrentIndex(index);
        emit com->activated(index);
    }
    void ChooseConverter(FaultSwitches faults) {
        ConverterModel model(faults);
        model.SetUpdateMode(true);
        converter = std::make_unique<SimulatorServer>(std::move(model));
        TypePort(QString::fromStdString(converter->SlavePath()));
    }
    void Upload(const QString& path) {
        answers = {path};
        firmware->trigger();
    }
    template <class F> auto Device(F&& f) { return converter->WithModel(std::forward<F>(f)); }

    QTemporaryDir folder;
    uploader::TForm1::Chooser previousChooser;
    QStringList answers;
    QStringList filters;
    MessageBoxRecorder boxes;
    std::unique_ptr<SimulatorServer> converter; // outlives the window's port
    uploader::TForm1 form;
    TGauge* gauge = nullptr;
    QAction* firmware = nullptr;
};
