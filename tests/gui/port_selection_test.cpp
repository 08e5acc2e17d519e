// Choosing a port: the link opens it, the tables and the version are read, the read and write
// actions come on; the bus order behind it; and closing the window with a port open.

#include "link_window_fixture.h"
#include "port_without_permission.h"
#include "settings.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QTest>

#include <stdexcept>

namespace {

using namespace std::chrono_literals;

// Listens after the window and the link and notes what reached it.
class LastListener : public TListener {
public:
    void Dispatch(TMessage& message) override { received.push_back(message.Msg); }
    std::vector<std::uint32_t> received;
};

TableImage SimulatorDefaultImage() {
    const ConverterModel::Image bytes = ConverterModel::DefaultImage();
    TableImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return image;
}

class PortSelection : public LinkWindowTest {};

TEST_F(PortSelection, TheSimulatorIsListedWithoutBeingSelected) {
    QComboBox* ports = Find<QComboBox>(form.get(), "ComComboBox1");
    EXPECT_EQ(ports->itemText(ports->count() - 1), "Simulator");
    EXPECT_EQ(ports->currentIndex(), -1);
    EXPECT_FALSE(form->Link()->Connected());
    EXPECT_EQ(form->Link()->Port.PortName(), "COM1");
}

TEST_F(PortSelection, APortThatIsNotThereSaysSoAndChangesNothingElse) {
    ChoosePort("ttyZarniAbsent");
    EXPECT_EQ(Find<QLabel>(form.get(), "LabelFirmware")->text(), "Версия прошивки V ");
    EXPECT_FALSE(Find<QAction>(form.get(), "ActionReadCoverter")->isEnabled());
    EXPECT_FALSE(Find<QAction>(form.get(), "ActionWriteConverter")->isEnabled());
    EXPECT_FALSE(form->Link()->Connected());

    // After a good connection, a bad choice closes the port but leaves what the window shows.
    ChoosePort("Simulator");
    ChoosePort("ttyZarniAbsent");
    EXPECT_EQ(Find<QLabel>(form.get(), "LabelFirmware")->text(), "Версия прошивки V 3.6");
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionReadCoverter")->isEnabled());
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionWriteConverter")->isEnabled());
    EXPECT_FALSE(form->Link()->Connected());
    EXPECT_EQ(boxes.Texts(), QStringList(2, kNotPresentMessage));
}

TEST_F(PortSelection, AnOpenFailureOfNoKnownCauseShowsTheSystemsTextAndWhatToCheck) {
    // A directory opens for reading only: the system refuses it for reading and writing.
    ChoosePort("/");
    EXPECT_EQ(boxes.Texts(),
              QStringList{"Unable to open com port (Error: 21)\n\n"
                          "The port could not be opened. Check the adapter and its cable, then choose the "
                          "port again.\n\nПорт не открывается. Проверьте адаптер и его кабель, затем "
                          "выберите порт ещё раз."});
    EXPECT_FALSE(form->Link()->Connected());
}

TEST_F(PortSelection, APortWithoutPermissionOrHeldByAnotherSaysWhatToDo) {
    PortWithoutPermission forbidden;
    forbidden.ChooseAsUnprivilegedUser([&] { ChoosePort(QString::fromStdString(forbidden.Path())); });
    PortHeldByAnother held;
    ChoosePort(QString::fromStdString(held.Path()));
    EXPECT_EQ(
        boxes.Texts(),
        QStringList({kDialoutHint + "\n\nНет прав на этот порт. Добавьте пользователя в группу dialout:\n"
                                    "    sudo usermod -aG dialout $USER\n"
                                    "затем выйдите из системы и войдите снова (или перезагрузитесь) и "
                                    "выберите порт ещё раз.",
                     kHeldMessage}));
    EXPECT_FALSE(form->Link()->Connected());
}

TEST_F(PortSelection, TheSimulatorConnectsReadsTheTablesAndShowsTheVersionWithTheUsersSeparator) {
    const struct {
        QLocale locale;
        const char* label;
    } cases[] = {{QLocale::c(), "Версия прошивки V 3.6"},
                 {QLocale(QLocale::German), "Версия прошивки V 3,6"}};
    const QLocale saved;
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        ChoosePort("Simulator");
        EXPECT_EQ(Find<QLabel>(form.get(), "LabelFirmware")->text(), c.label);
    }
    QLocale::setDefault(saved);
    EXPECT_TRUE(form->Link()->Connected());
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionReadCoverter")->isEnabled());
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionWriteConverter")->isEnabled());
    EXPECT_EQ(form->WorkingTable()->Model().image(TableSet::First), SimulatorDefaultImage());
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
}

TEST_F(PortSelection, TheSimulatorIsStartedOnceAndChoosingAPortAgainReopensIt) {
    ChoosePort("Simulator");
    SimulatorServer* simulator = form->Link()->Simulator();
    ASSERT_TRUE(simulator);
    ChoosePort("Simulator");
    EXPECT_EQ(form->Link()->Simulator(), simulator);
    EXPECT_TRUE(form->Link()->Connected());
    EXPECT_EQ(form->Link()->Port.PortName(), simulator->SlavePath());
}

TEST_F(PortSelection, ASilentConverterShowsBothNoReplyMessagesThenVersionZero) {
    ChooseOwnConverter({.silent = true});
    EXPECT_EQ(boxes.Texts(), QStringList({NoReplyText + "0 of/из 512 Recieved/Получено",
                                          NoReplyText + "0 of/из 1 Recieved/Получено"}));
    EXPECT_EQ(Find<QLabel>(form.get(), "LabelFirmware")->text(), "Версия прошивки V 0");
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionReadCoverter")->isEnabled());
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionWriteConverter")->isEnabled());
}

TEST_F(PortSelection, ABroadcastReachesTheWindowThenTheLinkThenLaterListeners) {
    const std::vector<TListener*>& listeners = form->Broadcaster()->Listeners();
    ASSERT_GE(listeners.size(), 2u);
    EXPECT_EQ(listeners[0], static_cast<TListener*>(form.get()));
    EXPECT_EQ(listeners[1], static_cast<TListener*>(form->Link()));

    LastListener last;
    form->Broadcaster()->AddListener(&last);
    TMsgSetComPort simulator("Simulator");
    form->Broadcaster()->Broadcast(simulator);
    EXPECT_TRUE(form->Link()->Connected()); // the link had opened it when the last listener was reached
    EXPECT_EQ(last.received, std::vector<std::uint32_t>{MSG_SET_COM_PORT});

    // The link's failure ends the broadcast before the later listeners and reaches the sender.
    TMsgSetComPort absent("ttyZarniAbsent");
    EXPECT_THROW(form->Broadcaster()->Broadcast(absent), ESerialError);
    EXPECT_EQ(last.received.size(), 1u);
}

TEST_F(PortSelection, ClosingWithAPortOpenStopsTheConverter) {
    ChooseOwnConverter({});
    LastListener last;
    form->Broadcaster()->AddListener(&last);
    const std::uint8_t startStream[] = {'s', 'l'};
    form->Link()->Write(startStream, 2);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return converter->WithModel([](auto& m) { return m.Streaming(); }); }, 2000));

    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(last.received, std::vector<std::uint32_t>{MSG_LOG_STOP});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !converter->WithModel([](auto& m) { return m.Streaming(); }); }, 2000));
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST_F(PortSelection, ClosingWithTheLineGoneStillClosesAndSavesTheSettings) {
    ChooseOwnConverter({});
    converter.reset(); // the adapter is pulled out
    QFile::remove(TSettings::UserSettingsFile());
    Find<QLineEdit>(form.get(), "MaskEditFast")->setText("5");
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    QFile saved(TSettings::UserSettingsFile());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << "the stop failed, the settings are saved all the same";
    EXPECT_EQ(saved.readAll().at(254), 5);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
}

TEST_F(PortSelection, ClosingWithNoPortOpenBroadcastsAndSendsNothing) {
    LastListener last;
    form->Broadcaster()->AddListener(&last);
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(last.received.empty());
}

TEST_F(PortSelection, AFailureOtherThanTheSerialLayersGoesToTheStandardErrorBox) {
    form->Link()->ReportPortError(std::runtime_error("Out of memory"));
    form->Link()->ReportPortError(ESerialError(kReadFailedText, 5));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Out of memory");
    EXPECT_EQ(boxes.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.Boxes()[1].text, "COM port doesn't open or used by other application \n"
                                     "COM порт не выбран или используется  другим приложением");
}

} // namespace
