// The small controls of our own: up-down buttons, bar gauges and file actions.

#include "bar_gauge.h"
#include "file_action.h"
#include "up_down.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(UpDown, ChangingComesBeforeTheMoveAndTheBoxFollowsWithinTheRange) {
    QLineEdit box;
    TUpDown upDown;
    upDown.SetRange(0, 11);
    upDown.SetPosition(10);
    upDown.SetAssociate(&box);
    EXPECT_EQ(box.text(), "10");

    std::vector<int> seenWhileChanging;
    std::vector<int> seenMoved;
    QObject::connect(&upDown, &TUpDown::Changing, [&] { seenWhileChanging.push_back(upDown.Position()); });
    QObject::connect(&upDown, &TUpDown::Moved, [&] { seenMoved.push_back(upDown.Position()); });
    QTest::mouseClick(upDown.UpButton(), Qt::LeftButton);
    QTest::mouseClick(upDown.UpButton(), Qt::LeftButton);
    EXPECT_EQ(seenWhileChanging, (std::vector<int>{10, 11}));
    EXPECT_EQ(seenMoved, (std::vector<int>{11})) << "a click at the end of the range moves nothing";
    EXPECT_EQ(upDown.Position(), 11) << "held at the top of the range";
    EXPECT_EQ(box.text(), "11");

    QTest::mouseClick(upDown.DownButton(), Qt::LeftButton);
    EXPECT_EQ(box.text(), "10");
    upDown.SetPosition(-7);
    EXPECT_EQ(box.text(), "0");
}

TEST(Gauge, ProgressHeldInsideTheRange) {
    TGauge gauge(TGauge::Kind::VerticalBar);
    gauge.SetRange(0, 7000);
    gauge.SetProgress(9000);
    EXPECT_EQ(gauge.Progress(), 7000);
    gauge.SetProgress(-1);
    EXPECT_EQ(gauge.Progress(), 0);
    gauge.SetProgress(1750);
    EXPECT_EQ(gauge.PercentDone(), 25);

    // Painting a gauge with an empty range must not divide by zero.
    gauge.SetRange(5, 5);
    gauge.resize(20, 100);
    EXPECT_FALSE(gauge.grab().isNull());
}

TEST(FileAction, DialogStaysOpenWhileTheAcceptHandlerRefusesAndClosesOnce) {
    TFileAction action(TFileAction::Kind::SaveAs, "Save", nullptr);
    std::vector<QString> answers = {"/tmp/first.tab", "/tmp/second.tab"};
    std::vector<std::string> events;
    TFileAction::Chooser previous = TFileAction::DialogChooser();
    TFileAction::DialogChooser() = [&](TFileAction&) {
        QString next = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        return next;
    };
    QObject::connect(&action, &TFileAction::BeforeExecute, [&] { events.push_back("before"); });
    QObject::connect(&action, &TFileAction::Accept, [&](const QString& name, bool& canClose) {
        events.push_back("accept " + name.toStdString());
        canClose = name.endsWith("second.tab");
    });
    QObject::connect(&action, &TFileAction::DialogClosed, [&] { events.push_back("closed"); });

    action.trigger();
    EXPECT_EQ(events, (std::vector<std::string>{"before", "accept /tmp/first.tab", "accept /tmp/second.tab",
                                                "closed"}));
    EXPECT_EQ(action.FileName, "/tmp/second.tab");

    // Cancelled: no accept, but the dialog still closes.
    events.clear();
    EXPECT_FALSE(action.Execute());
    EXPECT_EQ(events, (std::vector<std::string>{"before", "closed"}));
    TFileAction::DialogChooser() = previous;
}

TEST(FileAction, SaveDialogAsksNoOverwriteQuestionOpenDialogIsLeftAlone) {
    // The dialog asks about the name typed (a.TAB) while the save writes a.TAB.tab; the save replaces
    // a file only once the new one is complete, so there is nothing to ask.
    for (const auto kind : {TFileAction::Kind::SaveAs, TFileAction::Kind::OpenFile}) {
        TFileAction action(kind, "Table", nullptr);
        action.DefaultExt = ".tab";
        std::optional<bool> asksNothing;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            asksNothing = dialog->testOption(QFileDialog::DontConfirmOverwrite);
            dialog->reject();
        });
        EXPECT_FALSE(action.Execute());
        ASSERT_TRUE(asksNothing.has_value()) << "the dialog was shown";
        EXPECT_EQ(*asksNothing, kind == TFileAction::Kind::SaveAs);
    }
}

} // namespace
