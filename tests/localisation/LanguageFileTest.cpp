#include "localisation/LanguageFile.h"
#include "TestRegistry.h"
#include "TestWindow.h"
#include "localisation/LocalUtils.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace LocalUtils;

class TLanguageFileTest : public QObject {
    Q_OBJECT

private:
    TLanguageFolder m_folder;

private slots:
    void lineRules_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString missing = QStringLiteral("<missing>");
        QTest::newRow("blank and comment lines")
            << QByteArray("\r\n; X=1\r\n[S]\r\n\r\n;K=no\r\nK=yes\r\n") << "S"
            << "K"
            << "yes";
        QTest::newRow("before the first section") << QByteArray("K=early\r\n[S]\r\nL=1\r\n") << "S"
                                                  << "K" << missing;
        QTest::newRow("blanks around section name") << QByteArray("[ Form1 ]\r\nK=v\r\n") << "Form1"
                                                    << "K"
                                                    << "v";
        QTest::newRow("case of section and key") << QByteArray("[form1]\r\nlabel1.caption=X\r\n") << "Form1"
                                                 << "Label1.Caption"
                                                 << "X";
        QTest::newRow("blanks of an unquoted value") << QByteArray("[S]\r\n  K  =   a b  \r\n") << "S"
                                                     << "K"
                                                     << "a b";
        QTest::newRow("blanks kept inside quotes") << QByteArray("[S]\r\nK=\" a b \"\r\n") << "S"
                                                   << "K"
                                                   << " a b ";
        QTest::newRow("first of two sections") << QByteArray("[S]\r\nK=1\r\n[s]\r\nK=2\r\nL=3\r\n") << "S"
                                               << "L" << missing;
        QTest::newRow("first of two keys") << QByteArray("[S]\r\nk=1\r\nK=2\r\n") << "S"
                                           << "K"
                                           << "1";
        QTest::newRow("line without equals") << QByteArray("[S]\r\nK\r\n") << "S"
                                             << "K" << missing;
        QTest::newRow("value after first equals") << QByteArray("[S]\r\nK=a=b\r\n") << "S"
                                                  << "K"
                                                  << "a=b";
        QTest::newRow("LF line ends") << QByteArray("[S]\nA=1\nK=2\n") << "S"
                                      << "K"
                                      << "2";
        QTest::newRow("CR line ends") << QByteArray("[S]\rA=1\rK=2\r") << "S"
                                      << "K"
                                      << "2";
        QTest::newRow("control characters trimmed") << QByteArray("\t[S]\x01\r\n\x1fK=v\t\r\n") << "S"
                                                    << "K"
                                                    << "v";
        QTest::newRow("bracket not closed") << QByteArray("[S]\r\n[T\r\nK=v\r\n") << "S"
                                            << "K"
                                            << "v";
        QTest::newRow("missing section") << QByteArray("[S]\r\nK=v\r\n") << "T"
                                         << "K" << missing;
    }
    void lineRules() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TLanguageFile file(m_folder.Write(QStringLiteral("rules.lng"), contents));
        QCOMPARE(file.ReadString(section, key, QStringLiteral("<missing>")), expected);
    }

    void sectionValues() {
        TLanguageFile file(m_folder.Write(QStringLiteral("values.lng"),
                                          "[Form1]\r\nB=2\r\nEmpty=\r\nQuotes=\"\"\r\nA=1\r\nb="
                                          "dup\r\nNoKey\r\nC=\"x\"#13#10\"y\"\r\n[Other]\r\nD=4\r\n"));
        QStringList list{QStringLiteral("stale=1")};
        file.ReadSectionValues(QStringLiteral("FORM1"), list);
        QCOMPARE(list, QStringList({"B=2", "A=1", "C=x\r\ny"}));
        file.ReadSectionValues(QStringLiteral("Nothing"), list);
        QVERIFY(list.isEmpty());
    }

    void decoding_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("plain") << "abc"
                               << "abc";
        QTest::newRow("quoted") << "\"abc\""
                                << "abc";
        QTest::newRow("doubled quote") << "\"a\"\"b\""
                                       << "a\"b";
        QTest::newRow("blanks in quotes") << "\" abc \""
                                          << " abc ";
        QTest::newRow("codes between parts") << "\"abc\"#13#10\"def\""
                                             << "abc\r\ndef";
        QTest::newRow("codes at the end") << "\"abc\"#13#10\"\""
                                          << "abc\r\n";
        QTest::newRow("empty quotes") << "\"\""
                                      << "";
        QTest::newRow("text after closing quote dropped") << "\"ab\"cd"
                                                          << "ab";
        QTest::newRow("no closing quote") << "\"abcd"
                                          << "abc";
        QTest::newRow("single quote char") << "\""
                                           << "\"";
        QTest::newRow("code that is no number") << "\"a\"#x#66\"\""
                                                << "aB";
        QTest::newRow("blanks around later codes") << "\"a\"#65# 66 \"\""
                                                   << "aAB";
        QTest::newRow("low eight bits of a code") << "\"a\"#321\"\""
                                                  << "aA";
        QTest::newRow("codes without closing quote") << "\"abc\"#13#10"
                                                     << "abc13#1";
        QTest::newRow("unquoted with quote inside") << "a\"b"
                                                    << "a\"b";
    }
    void decoding() {
        QFETCH(QString, raw);
        QFETCH(QString, decoded);
        QCOMPARE(DecodeValue(raw), decoded);
    }

    void encoding_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("plain") << "abc"
                               << "\"abc\"";
        QTest::newRow("line break inside") << "abc\r\ndef"
                                           << "\"abc\"#13#10\"def\"";
        QTest::newRow("line break at the end") << "abc\r\n"
                                               << "\"abc\"#13#10\"\"";
        QTest::newRow("line break at the start") << "\tx"
                                                 << "\"\"#9\"x\"";
        QTest::newRow("quote") << "a\"b"
                               << "\"a\"\"b\"";
        QTest::newRow("empty") << ""
                               << "\"\"";
        QTest::newRow("blanks") << " a "
                                << "\" a \"";
    }
    void encoding() {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        QCOMPARE(EncodeValue(text), encoded);
        QCOMPARE(DecodeValue(encoded), text);
    }

    void quoteBeforeHashDoesNotSurvive() {
        const QString text = QStringLiteral("a\"#65 b");
        QVERIFY(DecodeValue(EncodeValue(text)) != text);
    }

    void commaListRead_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("blank separates") << "a b,c" << QStringList{"a", "b", "c"};
        QTest::newRow("comma at the end") << "a," << QStringList{"a", ""};
        QTest::newRow("comma and blank at the end") << "a, " << QStringList{"a"};
        QTest::newRow("two commas") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("quoted raw value keeps first string") << "\"a b\",c" << QStringList{"a", "b"};
        QTest::newRow("whole list quoted") << "\"\"\"a b\"\",c\"" << QStringList{"a b", "c"};
        QTest::newRow("leading blanks") << "  x ,  y" << QStringList{"x", "y"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("unclosed quoted item") << "a,\"b c" << QStringList{"a", "b c"};
        QTest::newRow("unclosed quoted value") << "\"\"\"a" << QStringList{""};
    }
    void commaListRead() {
        QFETCH(QString, raw);
        QFETCH(QStringList, items);
        QCOMPARE(CommaTextToList(DecodeValue(raw)), items);
    }

    void commaListWrite_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty list") << QStringList{} << "";
        QTest::newRow("one empty item") << QStringList{""} << "\"\"";
        QTest::newRow("plain") << QStringList{"a", "b"} << "a,b";
        QTest::newRow("blank, quote, comma")
            << QStringList{"a b", "x\"y", "1,2", ""} << "\"a b\",\"x\"\"y\",\"1,2\",";
    }
    void commaListWrite() {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QCOMPARE(CommaText(items), text);
        QCOMPARE(CommaTextToList(text), items);
        // What the write direction stores survives the value decoding too.
        QCOMPARE(CommaTextToList(DecodeValue(EncodeValue(CommaText(items)))), items);
    }

    void characterSets_data() {
        QTest::addColumn<QByteArray>("charSet");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ANSI") << QByteArray("ANSI_CHARSET") << QByteArray("\x80 \xe6\xf8\xe5") << "€ æøå";
        QTest::newRow("none named") << QByteArray() << QByteArray("\xc6\xd8") << "ÆØ";
        QTest::newRow("unknown") << QByteArray("KLINGON_CHARSET") << QByteArray("\xe9") << "é";
        QTest::newRow("Russian") << QByteArray("russian_charset") << QByteArray("\xc0\xe1") << "Аб";
        QTest::newRow("East Europe") << QByteArray("EASTEUROPE_CHARSET") << QByteArray("\x8a") << "Š";
        QTest::newRow("Greek") << QByteArray("GREEK_CHARSET") << QByteArray("\xc1") << "Α";
        QTest::newRow("Turkish") << QByteArray("TURKISH_CHARSET") << QByteArray("\xf0") << "ğ";
        QTest::newRow("Hebrew") << QByteArray("HEBREW_CHARSET") << QByteArray("\xe0") << "א";
        QTest::newRow("Arabic") << QByteArray("ARABIC_CHARSET") << QByteArray("\xc7") << "ا";
        QTest::newRow("Baltic") << QByteArray("BALTIC_CHARSET") << QByteArray("\xe0") << "ą";
        QTest::newRow("Thai") << QByteArray("THAI_CHARSET") << QByteArray("\xa1") << "ก";
        QTest::newRow("Shift-JIS") << QByteArray("SHIFTJIS_CHARSET") << QByteArray("\x93\xfa\x96\x7b")
                                   << "日本";
        QTest::newRow("GB2312") << QByteArray("GB2312_CHARSET") << QByteArray("\xd6\xd0") << "中";
        QTest::newRow("Big5") << QByteArray("CHINESEBIG5_CHARSET") << QByteArray("\xa4\xa4") << "中";
        QTest::newRow("Hangeul") << QByteArray("HANGEUL_CHARSET") << QByteArray("\xc7\xd1") << "한";
    }
    void characterSets() {
        QFETCH(QByteArray, charSet);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QByteArray contents;
        if (!charSet.isEmpty()) {
            contents += "[General Settings]\r\nFontCharSet=" + charSet + "\r\n";
        }
        contents += "[Form1]\r\nLabel1.Caption=" + bytes + "\r\n";
        TLanguageFile file(m_folder.Write(QStringLiteral("charset.lng"), contents));
        QCOMPARE(file.ReadString(QStringLiteral("Form1"), QStringLiteral("Label1.Caption"), QString()), text);
    }

    void codeInCharacterSet() {
        TLanguageFile file(m_folder.Write(QStringLiteral("code.lng"),
                                          "[General Settings]\r\nFontCharSet=RUSSIAN_CHARSET\r\n"
                                          "[S]\r\nK=\"x\"#192#13\"\"\r\n"));
        QCOMPARE(file.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()),
                 QStringLiteral("xА\r"));
    }

    void writeRewritesFile() {
        const QString path =
            m_folder.Write(QStringLiteral("write.lng"),
                           "; comment\r\n[General Settings]\r\nFontCharSet=RUSSIAN_CHARSET\r\n"
                           "[Form1]\r\nLabel1.Caption=old\r\nlabel1.caption=second\r\nNoKey\r\n");
        TLanguageFile file(path);
        file.WriteString(QStringLiteral("FORM1"), QStringLiteral("LABEL1.CAPTION"), QStringLiteral("Да\r\n"));
        file.WriteString(QStringLiteral("Form1"), QStringLiteral("Label2.Caption"), QStringLiteral("a\"b"));
        file.WriteString(QStringLiteral("Form2"), QStringLiteral("Caption"), QStringLiteral("Обзор"));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("[General Settings]\r\nFontCharSet=RUSSIAN_CHARSET\r\n\r\n"
                                               "[Form1]\r\nLabel1.Caption=\"\xc4\xe0\"#13#10\"\"\r\n"
                                               "label1.caption=second\r\nNoKey\r\n"
                                               "Label2.Caption=\"a\"\"b\"\r\n\r\n"
                                               "[Form2]\r\nCaption=\"\xce\xe1\xe7\xee\xf0\"\r\n\r\n"));
        TLanguageFile reread(path);
        QCOMPARE(reread.ReadString(QStringLiteral("form1"), QStringLiteral("label1.caption"), QString()),
                 QStringLiteral("Да\r\n"));
        QCOMPARE(reread.ReadString(QStringLiteral("Form1"), QStringLiteral("Label2.Caption"), QString()),
                 QStringLiteral("a\"b"));

        reread.EraseSection(QStringLiteral("form1"));
        TLanguageFile erased(path);
        QCOMPARE(erased.Sections(), QStringList({"General Settings", "Form2"}));
        QCOMPARE(erased.ReadString(QStringLiteral("Form2"), QStringLiteral("Caption"), QString()),
                 QStringLiteral("Обзор"));
    }

    void missingOrUnnamedFile() {
        TLanguageFile unnamed{QString()};
        QVERIFY(unnamed.Sections().isEmpty());
        TLanguageFile missing(m_folder.Path(QStringLiteral("nowhere.lng")));
        QCOMPARE(missing.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("\"d\"")),
                 QStringLiteral("d"));
        QCOMPARE(missing.CharSet(), 1);
    }

    void garbageIsHarmless_data() {
        QTest::addColumn<QByteArray>("contents");
        QByteArray random(200000, '\0');
        QRandomGenerator generator(4711);
        for (char& byte : random) {
            byte = static_cast<char>(generator.bounded(256));
        }
        QTest::newRow("random bytes") << random;
        QTest::newRow("random bytes in a section") << QByteArray("[Form1]\r\nK=") + random;
        QTest::newRow("enormous line") << QByteArray("[Form1]\r\nK=\"") + QByteArray(8 << 20, '"') + "#";
        QTest::newRow("enormous code run")
            << QByteArray("[Form1]\r\nK=\"\"") + QByteArray(1 << 20, '#') + "\"";
        QTest::newRow("broken multibyte")
            << QByteArray("[General Settings]\r\nFontCharSet=SHIFTJIS_CHARSET\r\n"
                          "[Form1]\r\nK=\x93\r\n\x81\xff]\r\n");
    }
    void garbageIsHarmless() {
        QFETCH(QByteArray, contents);
        TLanguageFile file(m_folder.Write(QStringLiteral("garbage.lng"), contents));
        QStringList list;
        file.ReadSectionValues(QStringLiteral("Form1"), list);
        // Whatever was read, the section list and the keyed lookup agree.
        for (const QString& line : list) {
            QCOMPARE(file.ReadString(QStringLiteral("form1"), NameOf(line), QString()), ValueOf(line));
        }
    }

    void sectionlessFileAppliesNothing() {
        TLanguageFile file(m_folder.Write(QStringLiteral("plain.lng"), "Label1.Caption=X\r\nCaption=Y\r\n"));
        QVERIFY(file.Sections().isEmpty());
        QCOMPARE(file.ReadString(QString(), QStringLiteral("Label1.Caption"), QStringLiteral("-")),
                 QStringLiteral("-"));
        QCOMPARE(file.CharSet(), 1);
    }
};

HABITRA_TEST(TLanguageFileTest)
#include "LanguageFileTest.moc"
