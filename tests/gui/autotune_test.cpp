// Autotuning through the real port: the simulated converter streams, the autocorrection moves the
// correction window, corrects, and learns points, and the converter receives every step.

#include "link_window_fixture.h"
#include "log.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <algorithm>

namespace {

class AutotuneTest : public LinkWindowTest {};

TEST_F(AutotuneTest, ShortDriveLearnsPointsAndTheConverterFollows) {
    ChoosePort("Simulator");
    ASSERT_TRUE(form->Link()->Connected());
    // A wide-band sensor in tenths of AFR, one target of 14.7 everywhere.
    Find<QComboBox>(form.get(), "ComboBoxO2")->setCurrentIndex(1);
    SetBoxText("MaskEditO2REF", "147");
    Find<QPushButton>(form.get(), "ButtonFillLoadTableWithO2RefValue")->click();
    Find<QCheckBox>(form.get(), "CheckBoxAutocorr")->click();
    ASSERT_TRUE(form->LiveData()->Options.AutocorrEnabled);

    Find<QAction>(form.get(), "ActionStart")->trigger();
    const auto learned = [&] {
        const MafValues& values = form->WorkingTable()->Model().content().LearnedValues;
        return std::count_if(values.begin(), values.end(), [](int value) { return value > 0; });
    };
    int windowMoves = 0;
    QObject::connect(Find<QSlider>(form.get(), "TrackBarMafKon"), &QSlider::valueChanged,
                     [&] { ++windowMoves; });
    // Meanwhile the converter previews each pending correction ("c").
    bool converterCorrected = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            converterCorrected |= form->Link()->Simulator()->WithModel(
                [](const ConverterModel& device) { return device.Correction() != 0; });
            return learned() >= 2;
        },
        60000))
        << "learned: " << learned();
    EXPECT_TRUE(converterCorrected);
    Find<QAction>(form.get(), "ActionStop")->trigger();

    EXPECT_GT(windowMoves, 0) << "the track bars follow the window";
    EXPECT_GT(Find<QSlider>(form.get(), "TrackBarMafKon")->value(), 0);
    // The applied table went out with "t": the converter works from the table with the learned point.
    const TableImage table = form->WorkingTable()->Model().image(TableSet::First);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return form->Link()->Simulator()->WithModel([&](const ConverterModel& device) {
                for (int x = 0; x < MafCount; ++x)
                    if (device.WorkingImage()[x] != (table[x] & 0xFF))
                        return false;
                return true;
            });
        },
        2000));
    // "g" set the window to the whole range and "c" brought the pending correction back to 0.
    form->Link()->Simulator()->WithModel([](const ConverterModel& device) {
        EXPECT_EQ(device.WindowLow(), 0);
        EXPECT_EQ(device.WindowHigh(), 255);
        EXPECT_EQ(device.Correction(), 0);
    });
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
}

} // namespace
