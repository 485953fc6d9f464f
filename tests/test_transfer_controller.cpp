#include "byte_text.h"
#include "fake_transfer.h"
#include "model/hex_codec.h"
#include "protocol/frames.h"
#include "transfer/transfer_controller.h"

#include <QtTest>

using namespace sg::transfer;
using sg::model::ByteString;

namespace {

// The echoed request followed by the device's 11-byte answer carrying block.
ByteString Reply(const ByteString &request, const QByteArray &blockHex)
{
    ByteString reply = request;
    const ByteString block = FromHex(blockHex);
    ByteString answer{0x44, 0x0B};
    answer.insert(answer.end(), block.begin(), block.end());
    answer.push_back(sg::protocol::Checksum(answer));
    reply.insert(reply.end(), answer.begin(), answer.end());
    return reply;
}

struct Rig
{
    Journal journal;
    FakeView view{journal};
    sg::protocol::FixedPortLister ports{
        sg::protocol::PortCatalog({{"ttyS0", "/dev/ttyS0", "", "", 0},
                                   {"ttyUSB0", "/dev/ttyUSB0", "", "", 0},
                                   {"sim", "/dev/pts/9", "", "", 0}})};
    FakeLink link{journal};
    FakeTicker ticker{journal};
    FakeAlerts alerts{journal};
    TransferController controller{view, ports, link, ticker, alerts};

    void answerLast(const QByteArray &blockHex) { link.arrive(Reply(link.sent.back(), blockHex)); }
    bool idleAndTidy() const
    {
        return controller.state() == TransferState::Idle && !ticker.running && !link.open_ &&
               view.readEnabled && view.storeEnabled;
    }
};

const QByteArray PARAMS = "00010040190A0003";
const QByteArray DATA = "1122334455667788";

} // namespace

class TestTransferController : public QObject
{
    Q_OBJECT

private slots:
    void readShowsBothBlocks_data()
    {
        QTest::addColumn<QByteArray>("lengthByte");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty message") << QByteArray("00") << "";
        QTest::newRow("three bytes") << QByteArray("03") << "112233";
        QTest::newRow("eight bytes") << QByteArray("08") << "1122334455667788";
        QTest::newRow("more than eight") << QByteArray("FF") << "1122334455667788";
    }

    void readShowsBothBlocks()
    {
        QFETCH(QByteArray, lengthByte);
        QFETCH(QString, shown);
        Rig rig;
        rig.view.fields.data = u"ABCD";
        rig.view.com = u" 3";

        rig.controller.startRead();
        QCOMPARE(rig.link.device, std::string("/dev/pts/9"));
        QCOMPARE(Hex(rig.link.sent.at(0)), QByteArray("4405180059"));
        QCOMPARE(rig.controller.state(), TransferState::ReadCheckParams);
        QVERIFY(rig.ticker.running && !rig.view.readEnabled && !rig.view.storeEnabled);

        rig.answerLast("01020304050607" + lengthByte);
        rig.controller.tick();
        QCOMPARE(rig.controller.state(), TransferState::ReadCheckData);
        QCOMPARE(Hex(rig.link.sent.at(1)), QByteArray("4405181049"));
        QCOMPARE(Text(rig.view.fields.params[7]), QString(lengthByte));
        QCOMPARE(Text(rig.view.fields.params[0]), QString("01"));

        rig.view.fields.params[7] = u"00"; // a focus change must not cut the message short
        rig.answerLast(DATA);
        rig.controller.tick();
        QCOMPARE(Text(rig.view.fields.data), shown);
        QVERIFY(rig.idleAndTidy());
        QVERIFY(rig.alerts.shown.empty());
        // A Read changes only the boxes.
        QCOMPARE(Hex(rig.controller.blocks().data), QByteArray("ABCD"));
    }

    void storeWritesBothBlocks()
    {
        Rig rig;
        rig.view.fields.data = u"01020304";
        rig.view.fields.params[1] = u"1";

        rig.controller.startStore();
        QCOMPARE(Hex(rig.link.sent.at(0)), QByteArray("44092810010203047"
                                                      "1"));
        QCOMPARE(rig.controller.state(), TransferState::StoreSendParams);

        rig.link.arrive(FromHex("00")); // a Store never looks at what comes back
        rig.controller.tick();
        QCOMPARE(Hex(rig.link.sent.at(1)), QByteArray("440D28000001000000000004"
                                                      "64"));
        QCOMPARE(rig.controller.state(), TransferState::StoreFinish);
        QVERIFY(rig.ticker.running);

        rig.view.fields.params[7] = u"FF";
        rig.controller.tick();
        QVERIFY(rig.idleAndTidy());
        QCOMPARE(Text(rig.view.fields.params[7]), QString("04"));
        QCOMPARE(rig.link.sent.size(), std::size_t{2});
    }

    void noResponse_data()
    {
        QTest::addColumn<bool>("atDataCheck");
        QTest::addColumn<int>("received");
        QTest::newRow("params: nothing") << false << 0;
        QTest::newRow("params: echo only") << false << 5;
        QTest::newRow("params: one short") << false << 15;
        QTest::newRow("params: one stray byte") << false << 17;
        QTest::newRow("data: nothing") << true << 0;
        QTest::newRow("data: one stray byte") << true << 17;
    }

    void noResponse()
    {
        QFETCH(bool, atDataCheck);
        QFETCH(int, received);
        Rig rig;
        rig.controller.startRead();
        if (atDataCheck) {
            rig.answerLast(PARAMS);
            rig.controller.tick();
        }
        ByteString reply = Reply(rig.link.sent.back(), DATA);
        reply.resize(static_cast<std::size_t>(received), 0x00);
        rig.link.arrive(reply);
        rig.journal.clear();
        rig.controller.tick();

        // The transfer has ended before the box speaks.
        const Journal expected{"enable read", "enable store", "stop timer", "close",
                               "warning ERROR! No response."};
        QCOMPARE(rig.journal, expected);
        QVERIFY(rig.idleAndTidy());
        QCOMPARE(Text(rig.view.fields.params[3]), QString(atDataCheck ? "40" : "00"));
        QCOMPARE(Text(rig.view.fields.data), QString("0000"));
    }

    void startFailure_data()
    {
        QTest::addColumn<QString>("com");
        QTest::addColumn<bool>("openWorks");
        QTest::addColumn<bool>("sendWorks");
        QTest::addColumn<bool>("opened");
        QTest::newRow("letter") << "x" << true << true << false;
        QTest::newRow("empty") << "" << true << true << false;
        QTest::newRow("three digits") << "100" << true << true << false;
        QTest::newRow("unknown number") << "7" << true << true << false;
        QTest::newRow("open refused") << "1" << false << true << true;
        QTest::newRow("send refused") << "2" << true << false << true;
    }

    void startFailure()
    {
        QFETCH(QString, com);
        QFETCH(bool, openWorks);
        QFETCH(bool, sendWorks);
        QFETCH(bool, opened);
        Rig rig;
        rig.view.com = com.toStdU16String();
        rig.link.openWorks = openWorks;
        rig.link.sendWorks = sendWorks;
        rig.view.fields.data = u"abc";
        rig.link.waiting = FromHex("FF");
        rig.controller.bytesArrived();

        rig.controller.startStore();

        QCOMPARE(rig.alerts.shown.size(), std::size_t{1});
        QCOMPARE(rig.alerts.shown[0].kind, std::string("critical"));
        QCOMPARE(rig.alerts.shown[0].text, std::string("ERROR! Check COM settings"));
        QVERIFY(!rig.alerts.shown[0].detail.empty());
        QCOMPARE(rig.ticker.starts, 0);
        QVERIFY(rig.idleAndTidy());
        // What came before the failing step stays done.
        QCOMPARE(Text(rig.view.fields.data), QString("ABC0"));
        QCOMPARE(Hex(rig.controller.buffers().txFrame), QByteArray("44072810ABC010"));
        QVERIFY(rig.controller.buffers().rxBuffer.empty());
        QCOMPARE(rig.journal.front() == "open", opened);
        QCOMPARE(rig.link.sent.size(), std::size_t{0});
    }

    void idleTickOnlyStopsTheTimer()
    {
        Rig rig;
        rig.ticker.running = true;
        rig.controller.tick();
        QCOMPARE(rig.journal, Journal{"stop timer"});
        QVERIFY(rig.alerts.shown.empty() && rig.link.sent.empty());
    }

    void nothingReachesAnEndedTransfer()
    {
        Rig rig;
        rig.controller.startRead();
        rig.controller.tick();
        rig.controller.tick();
        rig.controller.deviceLost();
        QCOMPARE(rig.alerts.shown.size(), std::size_t{1});
        QVERIFY(rig.idleAndTidy());
    }

    void tickSeesInputNotYetAnnounced()
    {
        Rig rig;
        rig.controller.startRead();
        rig.link.waiting = Reply(rig.link.sent.back(), PARAMS);
        rig.controller.tick();
        QCOMPARE(rig.controller.state(), TransferState::ReadCheckData);
    }

    void linkFailureInsideATransfer_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("unplug");
        QTest::newRow("store: send fails at tick") << false << false;
        QTest::newRow("store: device lost") << false << true;
        QTest::newRow("read: send fails at tick") << true << false;
        QTest::newRow("read: device lost") << true << true;
    }

    void linkFailureInsideATransfer()
    {
        QFETCH(bool, read);
        QFETCH(bool, unplug);
        Rig rig;
        read ? rig.controller.startRead() : rig.controller.startStore();
        if (unplug) {
            rig.link.open_ = false;
            rig.controller.deviceLost();
        } else {
            rig.link.sendWorks = false;
            if (read)
                rig.answerLast(PARAMS);
            rig.controller.tick();
        }
        QCOMPARE(rig.alerts.shown.size(), std::size_t{1});
        QCOMPARE(rig.alerts.shown[0].text, std::string("ERROR! Check COM settings"));
        QCOMPARE(rig.alerts.shown[0].detail, std::string("/dev/fake: reason"));
        QVERIFY(rig.idleAndTidy());
        rig.controller.tick();
        QCOMPARE(rig.alerts.shown.size(), std::size_t{1});
    }

    void deviceLostWhileIdleIsQuiet()
    {
        Rig rig;
        rig.controller.deviceLost();
        QVERIFY(rig.alerts.shown.empty());
    }

    // The end is told once, last: after the message and with everything idle already.
    void endIsToldOnceAndLast_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("before");
        QTest::newRow("read") << "read" << int(TransferEnd::Ok) << "close";
        QTest::newRow("store") << "store" << int(TransferEnd::Ok) << "enable store";
        QTest::newRow("no answer")
            << "silent" << int(TransferEnd::NoResponse) << "warning ERROR! No response.";
        QTest::newRow("bad COM") << "bad com" << int(TransferEnd::ComError)
                                 << "critical ERROR! Check COM settings";
    }

    void endIsToldOnceAndLast()
    {
        QFETCH(QString, how);
        QFETCH(int, end);
        QFETCH(QString, before);
        struct Listener : TransferListener
        {
            Rig *rig = nullptr;
            std::vector<TransferOutcome> heard;
            bool idleWhenHeard = false;
            void transferEnded(const TransferOutcome &outcome) override
            {
                heard.push_back(outcome);
                idleWhenHeard = rig->idleAndTidy();
            }
        } listener;
        Rig rig;
        listener.rig = &rig;
        rig.controller.setListener(&listener);
        rig.view.com = how == "bad com" ? u"x" : u"3";
        how == "store" ? rig.controller.startStore() : rig.controller.startRead();
        for (int tick = 0; tick < 2 && listener.heard.empty(); ++tick) {
            if (how == "read")
                rig.answerLast(tick == 0 ? PARAMS : DATA);
            rig.controller.tick();
        }
        QCOMPARE(listener.heard.size(), std::size_t{1});
        QCOMPARE(int(listener.heard[0].end), end);
        QVERIFY(listener.idleWhenHeard);
        QCOMPARE(QString::fromStdString(rig.journal.back()), before);
        if (how == "read")
            QCOMPARE(sg::model::BytesToHex(listener.heard[0].blocks.data), u"112233");
    }

    void nextTransferWorksAfterFailure()
    {
        Rig rig;
        rig.controller.startRead();
        rig.controller.tick(); // no response
        rig.controller.startRead();
        QCOMPARE(rig.controller.state(), TransferState::ReadCheckParams);
        QCOMPARE(rig.link.sent.size(), std::size_t{2});
    }
};

QTEST_APPLESS_MAIN(TestTransferController)
#include "test_transfer_controller.moc"
