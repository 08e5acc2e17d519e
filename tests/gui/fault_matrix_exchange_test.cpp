// The fault matrix, the converter's replies to the table exchanges: what a silent, short-spoken or
// badly storing converter, and a line that drops in the middle of a write, leave the user with.

#include "fault_matrix_fixture.h"

namespace {

enum class Exchange { Connect, Write };
// What the converter holds after the write: nothing new, the image sent, or the image sent with the
// one cell its EEPROM gets wrong.
enum class Stored { Unchanged, TheImage, TheImageButOneCell };

struct ExchangeFault {
    const char* name;
    FaultSwitches faults;
    Exchange exchange;
    QStringList messages;
    Stored stored;
};

void PrintTo(const ExchangeFault& fault, std::ostream* out) {
    *out << fault.name;
}

class ExchangeFaults : public FaultMatrixTest, public ::testing::WithParamInterface<ExchangeFault> {};

TEST_P(ExchangeFaults, TellTheUserLeaveTheWindowWorkingAndLoseNothing) {
    const ExchangeFault& fault = GetParam();
    const TableImage loaded = Working();
    TableImage sent{};
    if (fault.exchange == Exchange::Connect) {
        UseConverter(fault.faults);
        EXPECT_EQ(FirmwareLabel(), "Версия прошивки V 0");
        EXPECT_EQ(Working(), loaded) << "a failed read leaves the tables as they were";
    } else {
        UseConverter({});
        form->WorkingTable()->SetPoint(120, 7);
        sent = Working();
        Device([&](ConverterModel& device) { device.SetFaults(fault.faults); });
        Trigger("ActionWriteConverter");
        EXPECT_EQ(Working(), sent) << "the window keeps what the user had";
        const QStringList backups = saved.NewFiles(BackupsFolder());
        ASSERT_EQ(backups.size(), 1) << "the tables of the last read, kept before the write";
        const auto read = ConverterModel::DefaultImage();
        EXPECT_EQ(SavedFiles::Bytes(backups[0]), QByteArray(reinterpret_cast<const char*>(read.data()), 512));
    }
    // (a) what the user is told; nothing claims a write that did not verify.
    EXPECT_EQ(boxes.Texts(), fault.messages);
    if (fault.exchange == Exchange::Write) {
        ConverterModel::Image expected = ConverterModel::DefaultImage();
        if (fault.stored != Stored::Unchanged)
            std::copy(sent.begin(), sent.end(), expected.begin());
        if (fault.stored == Stored::TheImageButOneCell)
            expected[ConverterModel::kFaultyCell] ^= 0x01;
        EXPECT_EQ(Device([](const ConverterModel& device) { return device.StoredImage(); }), expected);
    }
    // (b) nothing left running, and the next converter works in the same window.
    ExpectIdle();
    EXPECT_TRUE(Enabled("ActionReadCoverter"));
    EXPECT_TRUE(Enabled("ActionWriteConverter"));
    ExpectTheNextConverterWorks();
    // (c) the user's files as they were.
    ExpectUsersFilesIntact();
}

QString NoReply(int received, int expected) {
    return NoReplyText + QString("%1 of/из %2 Recieved/Получено").arg(received).arg(expected);
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, ExchangeFaults,
    ::testing::Values(ExchangeFault{"Row1SilentAtConnect",
                                    {.silent = true},
                                    Exchange::Connect,
                                    {NoReply(0, 512), NoReply(0, 1)},
                                    Stored::Unchanged},
                      ExchangeFault{"Row1SilentAtWrite",
                                    {.silent = true},
                                    Exchange::Write,
                                    {"0", "ErrorConnect=", NoReply(0, 512)},
                                    Stored::Unchanged},
                      ExchangeFault{"Row2ShortRepliesAtConnect",
                                    {.shortReplies = true},
                                    Exchange::Connect,
                                    {NoReply(300, 512), NoReply(0, 1)},
                                    Stored::Unchanged},
                      // The image went out whole and was stored; only its read-back is cut short.
                      ExchangeFault{"Row2ShortRepliesAtWrite",
                                    {.shortReplies = true},
                                    Exchange::Write,
                                    {"300", "ErrorConnect=", NoReply(300, 512)},
                                    Stored::TheImage},
                      ExchangeFault{"Row3WrongReadBack",
                                    {.wrongReadBack = true},
                                    Exchange::Write,
                                    {"VerificationError", kVerificationText},
                                    Stored::TheImageButOneCell},
                      ExchangeFault{"Row7HangUpMidWrite",
                                    {.hangUpMidWrite = true},
                                    Exchange::Write,
                                    {kPortErrorText},
                                    Stored::Unchanged}),
    [](const ::testing::TestParamInfo<ExchangeFault>& info) { return std::string(info.param.name); });

} // namespace
