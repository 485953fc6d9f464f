#include "protocol/frames.h"

#include "byte_text.h"

#include <QtTest>

using namespace sg::protocol;

class TestFrames : public QObject
{
    Q_OBJECT

private slots:
    void referenceFrames_data()
    {
        QTest::addColumn<QString>("builder");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("read params")
            << "readParams" << QByteArray() << QByteArray::fromHex("4405180059");
        QTest::newRow("read data")
            << "readData" << QByteArray() << QByteArray::fromHex("4405181049");
        QTest::newRow("write data 00 00")
            << "writeData" << QByteArray::fromHex("0000") << QByteArray::fromHex("4407281000007B");
        QTest::newRow("write data 01..04") << "writeData" << QByteArray::fromHex("01020304")
                                           << QByteArray::fromHex("440928100102030471");
        QTest::newRow("write empty data")
            << "writeData" << QByteArray() << QByteArray::fromHex("4405281079");
        QTest::newRow("write params") << "writeParams" << QByteArray::fromHex("00010040190A0004")
                                      << QByteArray::fromHex("440D280000010040190A000437");
    }

    void referenceFrames()
    {
        QFETCH(QString, builder);
        QFETCH(QByteArray, block);
        QFETCH(QByteArray, frame);

        LinkBuffers buffers;
        buffers.rxBuffer = FromHex("AABB");
        const ByteString bytes(block.begin(), block.end());
        if (builder == "readParams")
            BuildReadParamsFrame(buffers);
        else if (builder == "readData")
            BuildReadDataFrame(buffers);
        else if (builder == "writeData")
            BuildWriteDataFrame(bytes, buffers);
        else
            BuildWriteParamsFrame(ParamsFromHex(block.toHex()), buffers);

        QCOMPARE(Hex(buffers.txFrame), frame.toHex().toUpper());
        QVERIFY(buffers.rxBuffer.empty());
    }

    void everyFrameXorsToZero()
    {
        LinkBuffers buffers;
        for (std::size_t size = 0; size <= sg::model::MAX_DATA_BYTES; ++size) {
            ByteString data(size);
            for (std::size_t i = 0; i < size; ++i)
                data[i] = static_cast<std::uint8_t>(0x5A + 37 * i);
            BuildWriteDataFrame(data, buffers);
            QCOMPARE(std::size_t{buffers.txFrame[1]}, buffers.txFrame.size());
            QCOMPARE(buffers.txFrame.size(), size + FRAME_OVERHEAD);
            QCOMPARE(int{Checksum(buffers.txFrame)}, 0);
        }
        BuildWriteParamsFrame(ParamsFromHex("FFFFFFFFFFFFFFFF"), buffers);
        QCOMPARE(int{buffers.txFrame[1]}, 0x0D);
    }

    void rebuildingTheSameFrameEmptiesRx()
    {
        LinkBuffers buffers;
        BuildReadDataFrame(buffers);
        AppendReceived(buffers, FromHex("4405181049"));
        BuildReadDataFrame(buffers);
        QVERIFY(buffers.rxBuffer.empty());
    }

    void replyCompleteness_data()
    {
        QTest::addColumn<int>("received");
        QTest::addColumn<bool>("complete");
        QTest::newRow("15 bytes") << 15 << false;
        QTest::newRow("16 bytes") << 16 << true;
        QTest::newRow("17 bytes") << 17 << false;
        QTest::newRow("nothing") << 0 << false;
    }

    void replyCompleteness()
    {
        QFETCH(int, received);
        QFETCH(bool, complete);

        LinkBuffers buffers;
        BuildReadParamsFrame(buffers);
        ByteString reply = FromHex("4405180059 440B 00010040190A0004 37 AA");
        reply.resize(static_cast<std::size_t>(received), 0x00);
        // Split so that arrival in pieces is exercised too.
        const std::size_t half = reply.size() / 2;
        AppendReceived(buffers, std::span(reply).first(half));
        AppendReceived(buffers, std::span(reply).subspan(half));

        QCOMPARE(IsReplyComplete(buffers), complete);
        if (complete) {
            const Payload payload = ReplyPayload(buffers);
            QCOMPARE(Hex(payload), QByteArray("00010040190A0004"));
        }
    }

    void answerValidity_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("valid");
        QTest::newRow("well formed") << QByteArray("440B00010040190A000419") << true;
        QTest::newRow("other start") << QByteArray("450B00010040190A000418") << false;
        QTest::newRow("other length") << QByteArray("440C00010040190A00041E") << false;
        QTest::newRow("bad checksum") << QByteArray("440B00010040190A000418") << false;
        QTest::newRow("one short") << QByteArray("440B00010040190A0004") << false;
    }

    void answerValidity()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, valid);

        LinkBuffers buffers;
        BuildReadParamsFrame(buffers);
        AppendReceived(buffers, buffers.txFrame);
        AppendReceived(buffers, FromHex(answer));
        QCOMPARE(IsAnswerValid(buffers), valid);
    }

    void overflowNeverCompletes()
    {
        LinkBuffers buffers;
        BuildReadParamsFrame(buffers);
        AppendReceived(buffers, ByteString(RX_CAPACITY + 16, 0x00));
        QCOMPARE(buffers.rxBuffer.size(), RX_CAPACITY);
        QVERIFY(!IsReplyComplete(buffers));
        BuildReadParamsFrame(buffers);
        AppendReceived(buffers, ByteString(16, 0x00));
        QVERIFY(IsReplyComplete(buffers));
    }
};

QTEST_APPLESS_MAIN(TestFrames)
#include "test_frames.moc"
