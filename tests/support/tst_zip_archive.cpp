// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/zip_archive.h"

#include <QTest>
#include <QtEndian>

using namespace folioneer;

namespace {

// Offset of the first central-directory header of the entry called `name`.
qsizetype centralHeader(const QByteArray& zip, const QByteArray& name)
{
    qsizetype at = 0;
    while ((at = zip.indexOf("PK\x01\x02", at)) >= 0) {
        const quint16 nameLength = qFromLittleEndian<quint16>(zip.constData() + at + 28);
        if (zip.mid(at + 46, nameLength) == name) {
            return at;
        }
        at += 4;
    }
    return -1;
}

void patch32(QByteArray& zip, qsizetype at, quint32 value)
{
    qToLittleEndian<quint32>(value, zip.data() + at);
}

} // namespace

class tst_ZipArchive : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsOrderMethodsAndBytes();
    void entryPartsAreJoinedInOrder();
    void unsafeEntriesAreFlagged_data();
    void unsafeEntriesAreFlagged();
    void sizesAreNotTrusted_data();
    void sizesAreNotTrusted();
};

void tst_ZipArchive::roundTripKeepsOrderMethodsAndBytes()
{
    QByteArray large;
    for (int i = 0; i < 20000; ++i) {
        large += QByteArray::number(i) + ' ';
    }
    ZipWriter writer(1);
    writer.add("mimetype", "application/epub+zip", ZipWriter::Method::Store);
    writer.add("OEBPS/große Datei.xhtml", large);
    writer.add("empty", {});
    const ZipWriter::Archive archive = writer.finish();
    QVERIFY2(archive.ok(), qPrintable(archive.error));
    // An EPUB reader finds the media type at a fixed place: the first entry, stored, with no
    // extra field between its name and its bytes.
    QVERIFY(archive.data.startsWith("PK\x03\x04"));
    QCOMPARE(qFromLittleEndian<quint16>(archive.data.constData() + 8), quint16(0));
    QCOMPARE(qFromLittleEndian<quint16>(archive.data.constData() + 28), quint16(0));
    QCOMPARE(archive.data.mid(30, 28), QByteArray("mimetypeapplication/epub+zip"));
    QVERIFY(archive.data.size() < large.size() / 2);

    const ZipReader reader(archive.data);
    QVERIFY2(reader.error().isEmpty(), qPrintable(reader.error()));
    const QList<ZipEntry> entries = reader.entries();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[1].name, QString::fromUtf8("OEBPS/große Datei.xhtml"));
    QCOMPARE(entries[1].size, large.size());
    QVERIFY(!entries[1].unsafeName && !entries[1].isLink);
    QCOMPARE(reader.read(0, 100).data, QByteArray("application/epub+zip"));
    QCOMPARE(reader.read(1, large.size()).data, large);
    const ZipReader::Data empty = reader.read(2, 0);
    QVERIFY(empty.ok() && empty.data.isEmpty());
    QVERIFY(!reader.read(3, 100).ok());

    QVERIFY(!ZipReader("PK\x03\x04 not a zip").error().isEmpty());
}

// Large exports hand their main part over in pieces; the entry holds them one after the other.
void tst_ZipArchive::entryPartsAreJoinedInOrder()
{
    QByteArray middle;
    for (int i = 0; i < 5000; ++i) {
        middle += QByteArray::number(i) + ' ';
    }
    ZipWriter writer(1);
    writer.addParts("parts", QList<QByteArray>{"<head>", {}, middle, "</head>"});
    writer.addParts("stored parts", QList<QByteArray>{"a", "b"}, ZipWriter::Method::Store);
    writer.addParts("no parts", QList<QByteArray>{});
    writer.addParts("empty parts", QList<QByteArray>{{}, {}});
    const ZipWriter::Archive archive = writer.finish();
    QVERIFY2(archive.ok(), qPrintable(archive.error));
    const ZipReader reader(archive.data);
    QCOMPARE(reader.entries().size(), 4);
    QCOMPARE(reader.read(0, 1 << 20).data, "<head>" + middle + "</head>");
    QCOMPARE(reader.read(1, 10).data, QByteArray("ab"));
    for (qsizetype i : {2, 3}) {
        const ZipReader::Data empty = reader.read(i, 0);
        QVERIFY(empty.ok() && empty.data.isEmpty());
    }
}

void tst_ZipArchive::unsafeEntriesAreFlagged_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("link");
    QTest::addColumn<bool>("unsafe");
    QTest::newRow("plain") << "a/b..c/d" << false << false;
    QTest::newRow("parent") << "../x" << false << true;
    QTest::newRow("parent inside") << "a/../../b" << false << true;
    QTest::newRow("absolute") << "/etc/passwd" << false << true;
    QTest::newRow("drive letter") << "C:/x" << false << true;
    QTest::newRow("backslash") << "a\\..\\b" << false << true;
    QTest::newRow("backslash root") << "\\x" << false << true;
    QTest::newRow("drive letter with backslash") << "C:\\x" << false << true;
    // Section titles give content files such names on Unix; they stay inside the folder.
    QTest::newRow("colon after the first letter") << "1:-basics---in.txt" << false << false;
    QTest::newRow("backslash inside a name") << "in\\out---a.txt" << false << false;
    QTest::newRow("symbolic link") << "link" << true << false;
}

void tst_ZipArchive::unsafeEntriesAreFlagged()
{
    QFETCH(QString, name);
    QFETCH(bool, link);
    QFETCH(bool, unsafe);
    ZipWriter writer;
    writer.add(name, "target", ZipWriter::Method::Store);
    QByteArray zip = writer.finish().data;
    if (link) {
        const qsizetype at = centralHeader(zip, name.toUtf8());
        QVERIFY(at >= 0);
        zip[at + 5] = 3; // made on Unix
        patch32(zip, at + 38, quint32(0120777) << 16);
    }
    const ZipReader reader(zip);
    QVERIFY2(reader.error().isEmpty(), qPrintable(reader.error()));
    QCOMPARE(reader.entries().value(0).isLink, link);
    QCOMPARE(reader.entries().value(0).unsafeName, unsafe);
}

void tst_ZipArchive::sizesAreNotTrusted_data()
{
    QTest::addColumn<quint32>("declared");
    QTest::addColumn<qint64>("cap");
    QTest::addColumn<bool>("corrupt");
    QTest::newRow("bomb declared small") << quint32(1000) << qint64(1 << 20) << false;
    QTest::newRow("declared over the cap") << quint32(4 << 20) << qint64(1 << 20) << false;
    QTest::newRow("declared larger than held") << quint32((4 << 20) + 10) << qint64(8 << 20) << false;
    QTest::newRow("damaged bytes") << quint32(4 << 20) << qint64(8 << 20) << true;
}

void tst_ZipArchive::sizesAreNotTrusted()
{
    QFETCH(quint32, declared);
    QFETCH(qint64, cap);
    QFETCH(bool, corrupt);
    ZipWriter writer;
    writer.add("zeros", QByteArray(4 << 20, '\0'));
    QByteArray zip = writer.finish().data;
    QVERIFY(zip.size() < 64 * 1024);
    const qsizetype central = centralHeader(zip, "zeros");
    patch32(zip, 22, declared);
    patch32(zip, central + 24, declared);
    if (corrupt) {
        zip[30 + 5 + 100] = char(zip[30 + 5 + 100] ^ 0x55);
    }
    const ZipReader reader(zip);
    QVERIFY2(reader.error().isEmpty(), qPrintable(reader.error()));
    const ZipReader::Data data = reader.read(0, cap);
    QVERIFY(!data.ok());
    QVERIFY(data.data.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ZipArchive)
#include "tst_zip_archive.moc"
