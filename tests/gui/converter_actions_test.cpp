// Reading and writing the converter through the window's actions, the live commands of the working
// table, and every message the exchanges show, against the simulated converter.

#include "link_window_fixture.h"
#include "table_graph_page.h"

#include <QAction>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <climits>

namespace {

using namespace std::chrono_literals;

const QString PortErrorText = "COM port doesn't open or used by other application \n"
                              "COM порт не выбран или используется  другим приложением";

class ConverterActions : public LinkWindowTest {
protected:
    template <class F> decltype(auto) Simulator(F&& f) {
        return form->Link()->Simulator()->WithModel(std::forward<F>(f));
    }
    const TableImage& Image() const { return form->WorkingTable()->Model().image(TableSet::First); }
};

TEST_F(ConverterActions, ReadBringsBackTheConvertersTablesAndParameters) {
    ChoosePort("Simulator");
    SetBoxText("MaskEditSmoothMaf", "50");
    form->WorkingTable()->SetActiveTableValue(100, 7, 0, false);
    Find<QAction>(form.get(), "ActionReadCoverter")->trigger();
    EXPECT_EQ(BoxText("MaskEditSmoothMaf"), "100");
    EXPECT_EQ(Image()[100], 100);
    form->WorkingTable()->Undo(); // the read is the undo point
    EXPECT_EQ(Image()[100], 100);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
}

TEST_F(ConverterActions, WriteShowsTheProgressWindowStoresTheTablesAndSaysNothing) {
    ChoosePort("Simulator");
    SetBoxText("MaskEditSmoothMaf", "50");
    SetBoxText("MaskEditEnrichmentFactor", "10");
    bool progressShown = false;
    int highest = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        progressShown = progressShown || progress->isVisible();
        highest = std::max(highest, progress->ProgressBar1->value());
    });
    watch.start(20);
    const auto start = std::chrono::steady_clock::now();
    Find<QAction>(form.get(), "ActionWriteConverter")->trigger();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    watch.stop();

    EXPECT_TRUE(progressShown);
    EXPECT_GT(highest, 0);
    EXPECT_EQ(progress->ProgressBar1->maximum(), 511);
    EXPECT_EQ(progress->ProgressBar1->value(), 511);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_GE(elapsed, 512 * 5ms);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
    Simulator([](const ConverterModel& device) {
        EXPECT_EQ(device.StoredImage()[260], 64);  // 50 %
        EXPECT_EQ(device.StoredImage()[258], 141); // 128 + 10 %
    });
    SetBoxText("MaskEditSmoothMaf", "20");
    Find<QAction>(form.get(), "ActionReadCoverter")->trigger();
    EXPECT_EQ(BoxText("MaskEditSmoothMaf"), "50");
}

TEST_F(ConverterActions, AParameterAbove255FailsTheVerificationAndKeepsTheTable) {
    ChoosePort("Simulator");
    SetBoxText("MaskEditSmoothMaf", "999");
    Find<QAction>(form.get(), "ActionWriteConverter")->trigger();
    EXPECT_EQ(boxes.Texts(),
              QStringList({"VerificationError", "Verification error.\n\nОшибка верификации.\n\n\n"}));
    EXPECT_EQ(Image()[260], 1279);
    EXPECT_FALSE(progress->isVisible());
}

TEST_F(ConverterActions, AShortReadBackShowsTheCountTheCodeThenTheNoReplyMessage) {
    ChooseOwnConverter({.shortReplies = true});
    EXPECT_EQ(boxes.Texts(), QStringList({NoReplyText + "300 of/из 512 Recieved/Получено",
                                          NoReplyText + "0 of/из 1 Recieved/Получено"}));
    boxes.Clear();
    Find<QAction>(form.get(), "ActionWriteConverter")->trigger();
    EXPECT_EQ(boxes.Texts(),
              QStringList({"300", "ErrorConnect=", NoReplyText + "300 of/из 512 Recieved/Получено"}));
    EXPECT_FALSE(progress->isVisible());
}

TEST_F(ConverterActions, AShortTablesReplyLeavesTheTableAsItWas) {
    ChooseOwnConverter({.shortReplies = true});
    SetBoxText("MaskEditSmoothMaf", "50");
    form->WorkingTable()->ReadParameters(TableSet::First);
    const TableImage before = Image();
    boxes.Clear();
    Find<QAction>(form.get(), "ActionReadCoverter")->trigger();
    EXPECT_EQ(boxes.Texts(), QStringList({NoReplyText + "300 of/из 512 Recieved/Получено"}));
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(BoxText("MaskEditSmoothMaf"), "50");
}

TEST_F(ConverterActions, ReadingWhileTheLoggerReadsIsRefused) {
    ChoosePort("Simulator");
    SetBoxText("MaskEditSmoothMaf", "50");
    form->Link()->PortFreeFlag() = false;
    Find<QAction>(form.get(), "ActionReadCoverter")->trigger();
    form->Link()->PortFreeFlag() = true;
    EXPECT_EQ(boxes.Texts(), QStringList({"Waiting  for a dataloger's stop.\nPlease try again.\n\n"
                                          "Ждем остановки даталогера\nПожалуйста попробуйте еще раз"}));
    EXPECT_EQ(BoxText("MaskEditSmoothMaf"), "50");
}

TEST_F(ConverterActions, ALostLineShowsThePortMessage) {
    ChooseOwnConverter({});
    converter.reset(); // the far end hangs up
    Find<QAction>(form.get(), "ActionReadCoverter")->trigger();
    EXPECT_EQ(form->WorkingTable()->ReadVersion(), 0);
    Find<QAction>(form.get(), "ActionWriteConverter")->trigger();
    form->WorkingTable()->SendTablesLive(LiveStream::Stopped);
    EXPECT_EQ(boxes.Texts(), QStringList({PortErrorText, PortErrorText, PortErrorText, PortErrorText}));
    EXPECT_FALSE(progress->isVisible());
    // The short commands leave their failure to the caller.
    EXPECT_THROW(form->WorkingTable()->SendCorrection(1), ESerialError);
    EXPECT_THROW(form->WorkingTable()->SendWindow(), ESerialError);
}

TEST_F(ConverterActions, WithNoPortOpenEveryExchangeIsSilent) {
    Table* table = form->WorkingTable();
    const TableImage before = Image();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(table->ReadVersion(), 0);
    form->TableGraphPage()->ActionReadCoverterExecute();
    form->TableGraphPage()->ActionWriteConverterExecute();
    table->SendTablesLive(LiveStream::Stopped);
    table->SendCorrection(-5);
    table->SendWindow();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms); // nothing was waited for
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
    EXPECT_EQ(Image(), before);
    EXPECT_FALSE(progress->isVisible());
}

TEST_F(ConverterActions, TheLiveTableCorrectionAndWindowReachTheConverterUnanswered) {
    ChoosePort("Simulator");
    SetBoxText("MaskEditSmoothMaf", "50");
    Table* table = form->WorkingTable();
    table->SendTablesLive(LiveStream::Stopped);
    table->SendCorrection(-5);
    table->SendWindow();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Simulator([](const ConverterModel& device) {
                return device.WorkingImage()[260] == 64 && device.Correction() == -5;
            });
        },
        2000));
    Simulator([](const ConverterModel& device) {
        EXPECT_EQ(device.StoredImage()[260], 128); // live only, not stored
        EXPECT_EQ(device.WindowLow(), 0);
        EXPECT_EQ(device.WindowHigh(), 255);
    });
    EXPECT_EQ(Image()[260], 64); // the boxes were read into the table first
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
}

} // namespace
