#include "TestRegistry.h"

#include "import/DelimitedReader.h"
#include "import/ImportError.h"
#include "import/ImportText.h"

#include <QStringDecoder>
#include <QTest>

// Awkward files: encodings, quoting, line breaks and separators inside values, ragged rows.
class TReaderTest : public QObject {
    Q_OBJECT
private slots:
    void AwkwardFiles_data();
    void AwkwardFiles();
    void RefusedFiles_data();
    void RefusedFiles();
    void EncodingIsToldAsTheConvertersTellIt_data();
    void EncodingIsToldAsTheConvertersTellIt();
};

namespace {
// "line:cell|cell" per record.
QStringList Describe(const std::vector<TImportRecord>& records) {
    QStringList lines;
    for (const TImportRecord& record : records) {
        lines << QStringLiteral("%1:%2%3")
                     .arg(record.Line)
                     .arg(record.Cells.join(QLatin1Char('|')),
                          record.Unclosed ? QStringLiteral(" (unclosed)") : QString());
    }
    return lines;
}
} // namespace

void TReaderTest::AwkwardFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("records");

    QTest::newRow("own export, Windows-1252 æøå")
        << QByteArray("\"Beskrivelse\";\"Kategori\"\r\n\"Bl\xE5 "
                      "stol\";\"M\xF8\x62ler\"\r\n\"\xC6ske\";\"V\xE6rkt\xF8j\"\r\n")
        << int(ieWindows1252) << ";"
        << QStringList{"1:Beskrivelse|Kategori", "2:Blå stol|Møbler", "3:Æske|Værktøj"};
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBFNavn;Pris\nBl\xC3\xA5 stol;12\n") << int(ieUtf8) << ";"
        << QStringList{"1:Navn|Pris", "2:Blå stol|12"};
    QTest::newRow("UTF-8 without mark, commas")
        << QByteArray("a,b,c\n\xC3\xB8,2,3\n") << int(ieUtf8) << "," << QStringList{"1:a|b|c", "2:ø|2|3"};
    QTest::newRow("tabs, a comma and a semicolon inside values")
        << QByteArray("Navn\tNote\nStol, r\xC3\xB8\x64\tnr; 2\n") << int(ieUtf8) << "\t"
        << QStringList{"1:Navn|Note", "2:Stol, rød|nr; 2"};
    QTest::newRow("quotes doubled, separators inside quotes")
        << QByteArray("\"a\";\"b\"\r\n\"32\"\" fjernsyn\";\"x;y\"\r\n\"\";\"\"\"\"\r\n") << int(ieUtf8) << ";"
        << QStringList{"1:a|b", "2:32\" fjernsyn|x;y", "3:|\""};
    QTest::newRow("text after a closing quote kept as written")
        << QByteArray("\"ab\"cd;\"e\"\"f\"g;h\n") << int(ieUtf8) << ";" << QStringList{"1:abcd|e\"fg|h"};
    QTest::newRow("line breaks inside quotes keep the line count")
        << QByteArray("a;b\r\n\"to\r\nlinjer\";1\r\n\"tre\nlinjer\nher\";2\r\nsidst;3\r\n") << int(ieUtf8)
        << ";" << QStringList{"1:a|b", "2:to\r\nlinjer|1", "4:tre\nlinjer\nher|2", "7:sidst|3"};
    QTest::newRow("short and long rows, no final line end")
        << QByteArray("a;b;c\n1\n1;2;3;4;5\n;;") << int(ieUtf8) << ";"
        << QStringList{"1:a|b|c", "2:1", "3:1|2|3|4|5", "4:||"};
    QTest::newRow("carriage returns alone end lines")
        << QByteArray("a;b\r1;2\r3;4") << int(ieUtf8) << ";" << QStringList{"1:a|b", "2:1|2", "3:3|4"};
    QTest::newRow("a quote never closed takes the rest")
        << QByteArray("a;b\n\"open;1\n2;3\n") << int(ieUtf8) << ";"
        << QStringList{"1:a|b", "2:open;1\n2;3\n (unclosed)"};
    QTest::newRow("UTF-16 with its mark, tabs as Excel saves")
        << QByteArray("\xFF\xFE"
                      "a\0\t\0\xF8\0\n\0"
                      "1\0\t\0"
                      "2\0\n\0",
                      18)
        << int(ieUtf16) << "\t" << QStringList{"1:a|ø", "2:1|2"};
}

void TReaderTest::AwkwardFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, separator);
    QFETCH(QStringList, records);
    const TImportText text(bytes);
    QCOMPARE(int(text.Detected()), encoding);
    const QString decoded = text.Decode(text.Detected());
    QCOMPARE(QString(TDelimitedReader::DetectSeparator(decoded)), separator);
    QCOMPARE(Describe(TDelimitedReader::Read(decoded, separator.at(0))), records);
    // The session splits the bytes themselves and decodes value by value: the same records.
    const QByteArray readable = text.Readable(text.Detected());
    QCOMPARE(QString(QLatin1Char(TDelimitedReader::DetectSeparator(readable))), separator);
    QCOMPARE(Describe(TDelimitedReader::Read(readable, text.Detected() == ieWindows1252,
                                             separator.at(0).toLatin1())),
             records);
}

void TReaderTest::RefusedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("binary file") << QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01", 12);
}

void TReaderTest::RefusedFiles() {
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(EImportError, TImportText{bytes});
}

// UTF-8 is told from Windows-1252 where Qt's UTF-8 converter finds a fault, and Windows-1252 reads
// as its converter reads it, every byte of the code page included.
void TReaderTest::EncodingIsToldAsTheConvertersTellIt_data() {
    QTest::addColumn<QByteArray>("bytes");
    QByteArray everyByte;
    for (int b = 1; b < 256; ++b) {
        everyByte += char(b);
    }
    QTest::newRow("every byte but zero") << everyByte;
    QByteArray everyDefined = everyByte;
    for (const char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
        everyDefined.replace(undefined, "");
    }
    QTest::newRow("every byte the code page defines") << everyDefined;
    QTest::newRow("undefined byte only") << QByteArray("a\x81\x8D\x8F\x90\x9D");
    QTest::newRow("code page's own marks") << QByteArray("\x80 \x8A\x9F \x96\x97 \x85");
    QTest::newRow("two, three and four bytes") << QByteArray("\xC3\xB8 \xE2\x82\xAC \xF0\x9F\x98\x80");
    QTest::newRow("overlong two bytes") << QByteArray("a\xC0\x80");
    QTest::newRow("overlong three bytes") << QByteArray("a\xE0\x80\xAF");
    QTest::newRow("surrogate") << QByteArray("a\xED\xA0\x80");
    QTest::newRow("past U+10FFFF") << QByteArray("a\xF4\x90\x80\x80");
    QTest::newRow("cut short at the end") << QByteArray("abc\xE2\x82");
    QTest::newRow("continuation alone") << QByteArray("a\x80");
}

void TReaderTest::EncodingIsToldAsTheConvertersTellIt() {
    QFETCH(QByteArray, bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes);
    const TImportText text(bytes);
    QCOMPARE(int(text.Detected()), int(utf8.hasError() ? ieWindows1252 : ieUtf8));
    QStringDecoder windows("windows-1252");
    const QString expected = windows.decode(bytes);
    QCOMPARE(text.Decode(ieWindows1252), expected);
}

HABITRA_TEST(TReaderTest)
#include "ReaderTest.moc"
