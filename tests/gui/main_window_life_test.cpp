// Start-up and closing of the main window, the bus it creates, and the firmware instructions link.

#include "firmware_manual.h"
#include "gui_test_support.h"
#include "main_window.h"

#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

TEST(MainWindowLife, WindowIsTheBussFirstListener) {
    TForm1 form;
    ASSERT_TRUE(form.Broadcaster());
    ASSERT_FALSE(form.Broadcaster()->Listeners().empty());
    EXPECT_EQ(form.Broadcaster()->Listeners().front(), static_cast<TListener*>(&form));
}

TEST(MainWindowLife, ClosesCleanlyWithNoPortOpen) {
    auto form = std::make_unique<TForm1>();
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
}

TEST(MainWindowLife, FirmwareManualLinkOpensTheShippedInstructions) {
    TForm1 form;
    QUrl opened;
    FirmwareManualOpener() = [&](const QUrl& url) { return opened = url, true; };
    auto* link = Find<QLabel>(&form, "LabelFirmwareManual");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->text(), "Инструкция по обновлению прошивки");
    EXPECT_TRUE(link->font().underline());
    QTest::mouseClick(link, Qt::LeftButton);

    ASSERT_TRUE(opened.isLocalFile()) << opened.toString().toStdString();
    QFile page(opened.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(text.contains("jumper"));
    EXPECT_TRUE(text.contains(".enc"));
    EXPECT_TRUE(text.contains("CRC error"));
    FirmwareManualOpener() = [](const QUrl&) { return false; };
}

} // namespace
