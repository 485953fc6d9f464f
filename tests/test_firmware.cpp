#include "protocol/frames.h"
#include "sim/firmware.h"

#include "byte_text.h"

#include <QtTest>

using sg::sim::ByteString;
using sg::sim::Firmware;
using sg::sim::FirmwareOptions;
using sg::sim::FirmwareOutput;

namespace {

QByteArray Answers(const FirmwareOutput &out)
{
    QByteArrayList list;
    for (const ByteString &answer : out.answers)
        list << Hex(answer);
    return list.join(' ');
}

} // namespace

class TestFirmware : public QObject
{
    Q_OBJECT

private slots:
    void conversation_data()
    {
        QTest::addColumn<QByteArray>("heard");
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<int>("frames");
        QTest::newRow("read params at start")
            << QByteArray("4405180059") << QByteArray("440B00010040190A000419") << 1;
        QTest::newRow("read data pads with zeros")
            << QByteArray("4405181049") << QByteArray("440B01020304000000004B") << 1;
        QTest::newRow("write data then read it")
            << QByteArray("4407281000007B 4405181049") << QByteArray("440B00000000000000004F") << 2;
        QTest::newRow("write params then read them")
            << QByteArray("440D2800FF010203040506079E 4405180059")
            << QByteArray("440BFF01020304050607B0") << 2;
        QTest::newRow("bad checksum is ignored") << QByteArray("4405180058") << QByteArray() << 0;
        QTest::newRow("bad length resyncs")
            << QByteArray("4402 4405180059") << QByteArray("440B00010040190A000419") << 1;
        QTest::newRow("stray bytes before a frame")
            << QByteArray("00FF 4405181049") << QByteArray("440B01020304000000004B") << 1;
        QTest::newRow("short params write is refused")
            << QByteArray("440828000102 67") << QByteArray() << 0;
    }

    void conversation()
    {
        QFETCH(QByteArray, heard);
        QFETCH(QByteArray, answers);
        QFETCH(int, frames);

        // Byte by byte must give the same as all at once.
        for (const bool byteByByte : {false, true}) {
            Firmware firmware;
            const ByteString bytes = FromHex(heard);
            FirmwareOutput total;
            const std::size_t step = byteByByte ? 1 : bytes.size();
            for (std::size_t i = 0; i < bytes.size(); i += step) {
                const FirmwareOutput out = firmware.receive(std::span(bytes).subspan(i, step));
                total.echo.insert(total.echo.end(), out.echo.begin(), out.echo.end());
                total.answers.insert(total.answers.end(), out.answers.begin(), out.answers.end());
                total.frames += out.frames;
            }
            QCOMPARE(Hex(total.echo), Hex(bytes));
            QCOMPARE(Answers(total), answers);
            QCOMPARE(int(total.frames), frames);
        }
    }

    // What the simulator prints: each byte it passed by, as it was heard.
    void notesNameWhatWasIgnored()
    {
        Firmware firmware;
        const FirmwareOutput out = firmware.receive(FromHex("00FF 4402"));
        QCOMPARE(out.notes,
                 (std::vector<std::string>{"ignored stray byte 00", "ignored stray byte FF",
                                           "ignored frame with bad length: 44 02"}));
    }

    void faults_data()
    {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("answerLength");
        QTest::addColumn<QByteArray>("echoed");
        QTest::addColumn<QByteArray>("answers");
        QTest::newRow("no echo") << false << false << -1 << QByteArray()
                                 << QByteArray("440B00010040190A000419");
        QTest::newRow("silent") << true << true << -1 << QByteArray("4405180059") << QByteArray();
        QTest::newRow("short answer")
            << true << false << 4 << QByteArray("4405180059") << QByteArray("440B0001");
        QTest::newRow("long answer") << true << false << 12 << QByteArray("4405180059")
                                     << QByteArray("440B00010040190A00041900");
    }

    void faults()
    {
        QFETCH(bool, echo);
        QFETCH(bool, silent);
        QFETCH(int, answerLength);
        QFETCH(QByteArray, echoed);
        QFETCH(QByteArray, answers);

        FirmwareOptions options;
        options.echo = echo;
        options.silent = silent;
        if (answerLength >= 0)
            options.answerLength = static_cast<std::size_t>(answerLength);
        Firmware firmware(options);
        const FirmwareOutput out = firmware.receive(FromHex("4405180059"));
        QCOMPARE(Hex(out.echo), echoed);
        QCOMPARE(Answers(out), answers);
    }

    void resetLineForgetsHalfAFrame()
    {
        Firmware firmware;
        firmware.receive(FromHex("440518"));
        firmware.resetLine();
        const FirmwareOutput out = firmware.receive(FromHex("4405181049"));
        QCOMPARE(out.frames, std::size_t{1});
    }

    // A write makes it deaf to every frame, writes too, until its busy time is over.
    void busyAfterAWrite()
    {
        FirmwareOptions options;
        options.busy = std::chrono::milliseconds(300);
        Firmware firmware(options);
        const Firmware::Clock::time_point start{};
        firmware.receive(FromHex("44072810010278"), start);
        const FirmwareOutput deaf =
            firmware.receive(FromHex("4405180059"), start + std::chrono::milliseconds(299));
        QCOMPARE(deaf.notes,
                 std::vector<std::string>{"ignored frame while busy writing: 44 05 18 00 59"});
        QCOMPARE(Hex(deaf.echo), QByteArray("4405180059"));
        const FirmwareOutput heard =
            firmware.receive(FromHex("4405181049"), start + std::chrono::milliseconds(300));
        QCOMPARE(Answers(heard), QByteArray("440B01020000000000004C"));
    }
};

QTEST_APPLESS_MAIN(TestFirmware)
#include "test_firmware.moc"
