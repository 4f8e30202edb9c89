// The TFTP packet builders and parser on real bytes. Catches little-endian block numbers,
// wrong packet lengths, names or modes that overflow the buffer, and a parser that accepts
// unterminated strings, over-long DATA or unknown opcodes.
#include "link/tftppacket.h"

#include <QTest>

class TestTftpPacket : public QObject
{
    Q_OBJECT

private slots:
    void builders_data();
    void builders();
    void parse_data();
    void parse();
};

void TestTftpPacket::builders_data()
{
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");
    char b[TftpPacket::kMaxPacket];
    QTest::addRow("read request") << QByteArray(b, TftpPacket::makereq(1, "octet", "file.sys", b, sizeof b))
                                  << QByteArray("\x00\x01" "file.sys\x00" "octet\x00", 17);
    QTest::addRow("write request") << QByteArray(b, TftpPacket::makereq(2, "netascii", "a", b, sizeof b))
                                   << QByteArray("\x00\x02" "a\x00" "netascii\x00", 13);
    QTest::addRow("data block 258") << QByteArray(b, TftpPacket::makedata(258, "xyz", 3, b, sizeof b))
                                    << QByteArray("\x00\x03\x01\x02xyz", 7);
    QTest::addRow("empty data 65535") << QByteArray(b, TftpPacket::makedata(65535, nullptr, 0, b, sizeof b))
                                      << QByteArray("\x00\x03\xff\xff", 4);
    QTest::addRow("ack 0x1234") << QByteArray(b, TftpPacket::makeack(0x1234, b, sizeof b))
                                << QByteArray("\x00\x04\x12\x34", 4);
    QTest::addRow("error 5") << QByteArray(b, TftpPacket::makeerror(5, "x", b, sizeof b))
                             << QByteArray("\x00\x05\x00\x05x\x00", 6);
    QTest::addRow("request too big for buffer") << QByteArray(b, TftpPacket::makereq(1, "octet", "file.sys", b, 15))
                                                << QByteArray();
    QTest::addRow("mode of 32 characters") << QByteArray(b, TftpPacket::makereq(1, QByteArray(32, 'm').constData(), "f", b, sizeof b))
                                           << QByteArray();
    QTest::addRow("data of 513 bytes") << QByteArray(b, TftpPacket::makedata(1, QByteArray(513, 'd').constData(), 513, b, sizeof b))
                                       << QByteArray();
}

void TestTftpPacket::builders()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built.toHex(' '), expected.toHex(' '));
}

void TestTftpPacket::parse_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("opcode");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("dataLength");
    QTest::addColumn<QByteArray>("name");
    QTest::addRow("read request") << QByteArray("\x00\x01" "job.cnt\x00" "octet\x00", 16) << true << 1 << 0 << 0 << QByteArray("job.cnt");
    QTest::addRow("request with options") << QByteArray("\x00\x02" "a\x00" "octet\x00" "tsize\x00" "0\x00", 18) << true << 2 << 0 << 0 << QByteArray("a");
    QTest::addRow("unterminated mode") << QByteArray("\x00\x01" "a\x00" "octet", 9) << false << 1 << 0 << 0 << QByteArray();
    QTest::addRow("empty name") << QByteArray("\x00\x01\x00" "octet\x00", 9) << false << 1 << 0 << 0 << QByteArray();
    QTest::addRow("full data") << (QByteArray("\x00\x03\x00\x07", 4) + QByteArray(512, 'd')) << true << 3 << 7 << 512 << QByteArray();
    QTest::addRow("data of 513") << (QByteArray("\x00\x03\x00\x07", 4) + QByteArray(513, 'd')) << false << 3 << 0 << 0 << QByteArray();
    QTest::addRow("ack 65535") << QByteArray("\x00\x04\xff\xff", 4) << true << 4 << 65535 << 0 << QByteArray();
    QTest::addRow("short ack") << QByteArray("\x00\x04\x01", 3) << false << 0 << 0 << 0 << QByteArray();
    QTest::addRow("error without text") << QByteArray("\x00\x05\x00\x01", 4) << true << 5 << 0 << 0 << QByteArray();
    QTest::addRow("opcode 6") << QByteArray("\x00\x06\x00\x01", 4) << false << 6 << 0 << 0 << QByteArray();
}

void TestTftpPacket::parse()
{
    QFETCH(QByteArray, packet);
    QFETCH(bool, valid);
    QFETCH(int, opcode);
    QFETCH(int, block);
    QFETCH(int, dataLength);
    QFETCH(QByteArray, name);
    const TftpPacket::View v = TftpPacket::parse(packet.constData(), packet.size());
    QCOMPARE(v.valid, valid);
    if (!valid)
        return;
    QCOMPARE(v.opcode, opcode);
    QCOMPARE(int(v.block), block);
    QCOMPARE(v.dataLength, dataLength);
    QCOMPARE(QByteArray(v.name), name);
}

QTEST_GUILESS_MAIN(TestTftpPacket)
#include "test_tftppacket.moc"
