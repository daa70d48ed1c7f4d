#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void parseInteger_data();
    void parseInteger();
    void lookup_data();
    void lookup();
    void readInteger_data();
    void readInteger();
    void damagedFiles_data();
    void damagedFiles();
    void readsOnlyMaxBytes();
    void decodesText_data();
    void decodesText();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

QString TestIniFile::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestIniFile::parseInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("10") << "10" << true << 10;
    QTest::newRow("-25") << "-25" << true << -25;
    QTest::newRow("+7") << "+7" << true << 7;
    QTest::newRow("007") << "007" << true << 7;
    QTest::newRow("   42") << "   42" << true << 42;
    QTest::newRow("\\t42") << "\t42" << true << 42;
    QTest::newRow("0x200") << "0x200" << true << 512;
    QTest::newRow("0X1f") << "0X1f" << true << 31;
    QTest::newRow("x200") << "x200" << true << 512;
    QTest::newRow("X200") << "X200" << true << 512;
    QTest::newRow("$200") << "$200" << true << 512;
    QTest::newRow("$fF") << "$fF" << true << 255;
    QTest::newRow("-0x10") << "-0x10" << true << -16;
    QTest::newRow("-$10") << "-$10" << true << -16;
    QTest::newRow("0") << "0" << true << 0;
    QTest::newRow("2147483647") << "2147483647" << true << 2147483647;
    QTest::newRow("-2147483648") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("0x7FFFFFFF") << "0x7FFFFFFF" << true << 2147483647;
    QTest::newRow("-0x80000000") << "-0x80000000" << true << int(-2147483648LL);

    QTest::newRow("2147483648") << "2147483648" << false << 0;
    QTest::newRow("-2147483649") << "-2147483649" << false << 0;
    QTest::newRow("0x80000000") << "0x80000000" << false << 0;
    QTest::newRow("99999999999999999999") << "99999999999999999999" << false << 0;
    QTest::newRow("abc") << "abc" << false << 0;
    QTest::newRow("12abc") << "12abc" << false << 0;
    QTest::newRow("12 ") << "12 " << false << 0;
    QTest::newRow("1 2") << "1 2" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("-") << "-" << false << 0;
    QTest::newRow("- 5") << "- 5" << false << 0;
    QTest::newRow("--5") << "--5" << false << 0;
    QTest::newRow("0x") << "0x" << false << 0;
    QTest::newRow("$") << "$" << false << 0;
    QTest::newRow("0xg") << "0xg" << false << 0;
    QTest::newRow("1e3") << "1e3" << false << 0;
    QTest::newRow("1.5") << "1.5" << false << 0;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << false << 0;
    QTest::newRow("arabic-indic digits") << QStringLiteral("\u0661\u0662") << false << 0;
}

void TestIniFile::parseInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);

    int parsed = -12345;
    QCOMPARE(parseIniInteger(text, &parsed), valid);
    QCOMPARE(parsed, valid ? value : -12345);
}

void TestIniFile::lookup_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString none = QStringLiteral("<default>");

    QTest::newRow("Left = 355")
        << QByteArray("[MainWindow]\r\n\r\nLeft = 355\r\n") << "MainWindow" << "Left " << "355";
    QTest::newRow("left=10") << QByteArray("[MainWindow]\r\nleft=10\r\n") << "MainWindow"
                             << "Left " << "10";
    QTest::newRow("LEFT   =   10") << QByteArray("[MainWindow]\r\nLEFT   =   10\r\n")
                                   << "MainWindow" << "Left " << "10";
    QTest::newRow("\\tLeft\\t=\\t10\\t") << QByteArray("[MainWindow]\n\tLeft\t=\t10\t\n")
                                         << "MainWindow" << "Left" << "10";
    QTest::newRow("[mainwindow]") << QByteArray("[mainwindow]\r\nLeft = 1\r\n") << "MainWindow"
                                  << "Left " << "1";
    QTest::newRow("[ MainWindow ]") << QByteArray("  [ MainWindow ]  \r\nLeft = 2\r\n")
                                    << "MainWindow" << "Left " << "2";
    QTest::newRow("section asked with blanks")
        << QByteArray("[MainWindow]\r\nLeft = 3\r\n") << " MainWindow " << "Left " << "3";
    QTest::newRow("LF only") << QByteArray("[MainWindow]\nLeft = 4\nTop = 5\n") << "MainWindow"
                             << "Top " << "5";
    QTest::newRow("no line end at the end")
        << QByteArray("[MainWindow]\r\nLeft = 6") << "MainWindow" << "Left " << "6";
    QTest::newRow("value after the first =")
        << QByteArray("[S]\r\nk = a = b \r\n") << "S" << "k" << "a = b";
    QTest::newRow("blanks inside a value kept")
        << QByteArray("[S]\r\nk =  a  b  \r\n") << "S" << "k" << "a  b";
    QTest::newRow("empty value") << QByteArray("[S]\r\nk =   \r\n") << "S" << "k" << "";
    QTest::newRow("empty value at the end") << QByteArray("[S]\r\nk=") << "S" << "k" << "";
    QTest::newRow("first occurrence wins")
        << QByteArray("[S]\r\nk = first\r\nK = second\r\n") << "S" << "k" << "first";
    QTest::newRow("key in another section")
        << QByteArray("[TagListWindow]\r\nLeft = 7\r\n[MainWindow]\r\nTop = 8\r\n")
        << "MainWindow" << "Left " << none;
    QTest::newRow("same key in two sections")
        << QByteArray("[A]\r\nLeft = 1\r\n[B]\r\nLeft = 2\r\n") << "B" << "Left " << "2";
    QTest::newRow("missing key") << QByteArray("[MainWindow]\r\nTop = 8\r\n") << "MainWindow"
                                 << "Left " << none;
    QTest::newRow("missing section") << QByteArray("[Other]\r\nLeft = 8\r\n") << "MainWindow"
                                     << "Left " << none;
    QTest::newRow("key before any section")
        << QByteArray("Left = 9\r\n[MainWindow]\r\n") << "MainWindow" << "Left " << none;
    QTest::newRow("Left 10 without =")
        << QByteArray("[MainWindow]\r\nLeft 10\r\njunk\r\nLeft = 11\r\n") << "MainWindow"
        << "Left " << "11";
    QTest::newRow("= without key")
        << QByteArray("[S]\r\n = x\r\n") << "S" << "" << none;
    QTest::newRow("inner blank in key not ignored")
        << QByteArray("[S]\r\nL eft = 1\r\n") << "S" << "Left" << none;
    QTest::newRow("empty file") << QByteArray() << "MainWindow" << "Left " << none;
}

void TestIniFile::lookup()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    const QString value =
        IniFile::fromText(file).readString(section, key, QStringLiteral("<default>"));
    QCOMPARE(value, expected);
    QVERIFY(!value.isNull());
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("expected");

    QTest::newRow("TLWWidth = 0x200")
        << QByteArray("[TagListWindow]\r\nTLWWidth = 0x200\r\n") << "TLWWidth " << 512;
    QTest::newRow("TLWWidth = $200")
        << QByteArray("[TagListWindow]\r\nTLWWidth = $200\r\n") << "TLWWidth " << 512;
    QTest::newRow("TLWLeft = -25")
        << QByteArray("[TagListWindow]\r\nTLWLeft = -25\r\n") << "TLWLeft " << -25;
    QTest::newRow("tlwtop=10") << QByteArray("[taglistwindow]\nTLWTOP=10\n") << "TLWTop " << 10;
    QTest::newRow("TLWLeft = abc")
        << QByteArray("[TagListWindow]\r\nTLWLeft = abc\r\n") << "TLWLeft " << 777;
    QTest::newRow("TLWLeft = 12abc")
        << QByteArray("[TagListWindow]\r\nTLWLeft = 12abc\r\n") << "TLWLeft " << 777;
    QTest::newRow("TLWLeft =") << QByteArray("[TagListWindow]\r\nTLWLeft =\r\n") << "TLWLeft "
                               << 777;
    QTest::newRow("TLWLeft = 4294967296")
        << QByteArray("[TagListWindow]\r\nTLWLeft = 4294967296\r\n") << "TLWLeft " << 777;
    QTest::newRow("missing key") << QByteArray("[TagListWindow]\r\nTLWTop = 1\r\n") << "TLWLeft "
                                 << 777;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(int, expected);

    QCOMPARE(IniFile::fromText(file).readInteger(QStringLiteral("TagListWindow"), key, 777),
             expected);
}

// Whatever the file holds, reading it never fails: what cannot be read is not found.
void TestIniFile::damagedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("shape");

    QTest::newRow("missing file") << m_dir.filePath("missing.ini") << -1 << "<default>";
    QTest::newRow("path is a folder") << m_dir.path() << -1 << "<default>";

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37 + 11) % 256);
    QTest::newRow("binary file") << writeFile("binary.ini", binary) << -1 << "<default>";

    // Garbage with NUL bytes and broken UTF-8 around good lines: the good lines still count.
    QByteArray mixed("\xff\xfe\x00\x01\r\n[MainWindow]\x00\r\n", 21);
    mixed += "\xc3\x28\x80 = \xe2\x82\r\nLeft = 12\r\nShape = circle\r\n";
    mixed += QByteArray(3, '\0');
    QTest::newRow("NUL bytes and invalid UTF-8 around good lines")
        << writeFile("mixed.ini", mixed) << 12 << "circle";

    QTest::newRow("lines without =")
        << writeFile("noequals.ini", "[MainWindow]\r\nLeft\r\n355\r\nShape circle\r\n") << -1
        << "<default>";
}

void TestIniFile::damagedFiles()
{
    QFETCH(QString, path);
    QFETCH(int, left);
    QFETCH(QString, shape);

    const IniFile ini(path);
    QCOMPARE(ini.readInteger(QStringLiteral("MainWindow"), QStringLiteral("Left "), -1), left);
    QCOMPARE(ini.readString(QStringLiteral("MainWindow"), QStringLiteral("Shape "),
                            QStringLiteral("<default>")),
             shape);
}

void TestIniFile::readsOnlyMaxBytes()
{
    QByteArray bytes("[MainWindow]\r\nLeft = 5\r\n");
    bytes += QByteArray(IniFile::MaxBytes - 8 - bytes.size() - 2, 'a') + "\r\n";
    // The limit falls inside this line, after "Top = 12": half a line must not count.
    bytes += "Top = 123\r\nShape = poly\r\n";

    const IniFile ini(writeFile("huge.ini", bytes));
    QCOMPARE(ini.readInteger(QStringLiteral("MainWindow"), QStringLiteral("Left "), -1), 5);
    QCOMPARE(ini.readInteger(QStringLiteral("MainWindow"), QStringLiteral("Top "), -1), -1);
    QCOMPARE(ini.readString(QStringLiteral("MainWindow"), QStringLiteral("Shape "),
                            QStringLiteral("rect")),
             QStringLiteral("rect"));
}

void TestIniFile::decodesText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value");

    QTest::newRow("UTF-8") << QByteArray("[S]\r\nk = 円形\r\n") << QStringLiteral("円形");
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xef\xbb\xbf[S]\r\nk = é\r\n") << QStringLiteral("é");
    QTest::newRow("Latin-1 bytes") << QByteArray("[S]\r\nk = \xe9t\xe9\r\n")
                                   << QStringLiteral("été");
}

void TestIniFile::decodesText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, value);

    const IniFile ini(writeFile(QStringLiteral("text.ini"), bytes));
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("k"), QString()), value);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
