// The backup of the converter's tables before a write, against the simulated converter: the image
// read is kept byte for byte, once per read.

#include "link_window_fixture.h"
#include "table_backups.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace {

class TableBackupTest : public LinkWindowTest {
protected:
    QDir Backups() const { return QDir(QString::fromStdString(form->Backups()->Folder().string())); }
    QStringList BackupFiles() const { return Backups().entryList({"*.tab"}, QDir::Files, QDir::Name); }
    void SetUp() override { Backups().removeRecursively(); }
    void TearDown() override { Backups().removeRecursively(); }
};

} // namespace

TEST_F(TableBackupTest, AWriteKeepsTheImageReadOnceAndANewReadIsKeptAgain) {
    ConverterModel::Image tuned = ConverterModel::DefaultImage();
    for (int maf = 0; maf < 256; ++maf)
        tuned[std::size_t(maf)] = static_cast<std::uint8_t>((maf * 3) % 256);
    converter = std::make_unique<SimulatorServer>();
    converter->WithModel([&](ConverterModel& device) { device.LoadImage(tuned); });
    ChoosePort(QString::fromStdString(converter->SlavePath())); // reads the tables
    EXPECT_TRUE(BackupFiles().isEmpty());                       // a read alone keeps nothing

    form->WorkingTable()->SetActiveTableValue(100, 7, 0, false);
    Find<QAction>(form.get(), "ActionWriteConverter")->trigger();
    ASSERT_EQ(BackupFiles().size(), 1);
    QFile kept(Backups().filePath(BackupFiles().first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(),
              QByteArray(reinterpret_cast<const char*>(tuned.data()), qsizetype(tuned.size())));

    // The write's own read-back is not a read: a second write keeps nothing new.
    Find<QAction>(form.get(), "ActionWriteConverter")->trigger();
    EXPECT_EQ(BackupFiles().size(), 1);

    Find<QAction>(form.get(), "ActionReadCoverter")->trigger();
    form->WorkingTable()->SendTablesLive(LiveStream::Stopped); // as a correction applied sends it
    EXPECT_EQ(BackupFiles().size(), 2);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
}
