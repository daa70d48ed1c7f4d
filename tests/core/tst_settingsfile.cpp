#include "IniFile.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

Settings sample()
{
    Settings s;
    s.left = 355;
    s.top = 182;
    s.shape = QStringLiteral("circle");
    s.smallLetter = true;
    s.tagLeft = 464;
    s.tagTop = 580;
    s.tagWidth = 559;
    s.tagHeight = 155;
    s.tagOpen = true;
    return s;
}

const QByteArray goodOldFile("[MainWindow]\r\n\r\nLeft = 1\r\nTop = 2\r\n");

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void pathIn();
    void text_data();
    void text();
    void writeReplacesWholeFile();
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void failedWriteCreatesNothing_data();
    void failedWriteCreatesNothing();
    void readOnlyFolder();
    void fullDiskKeepsOldFile();
    void trimmed_data();
    void trimmed();
    void startsWith_data();
    void startsWith();
};

void TestSettingsFile::pathIn()
{
    QCOMPARE(SettingsFile::pathIn(QStringLiteral("/opt/zonefold/")),
             QStringLiteral("/opt/zonefold/Zonefold.ini"));
    QCOMPARE(SettingsFile::pathIn(QStringLiteral("/opt/ゾーン/")),
             QStringLiteral("/opt/ゾーン/Zonefold.ini"));
}

void TestSettingsFile::text_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<bool>("smallLetter");
    QTest::addColumn<int>("tagLeft");
    QTest::addColumn<int>("tagTop");
    QTest::addColumn<int>("tagWidth");
    QTest::addColumn<int>("tagHeight");
    QTest::addColumn<bool>("tagOpen");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("circle, small, tag window open")
        << 355 << 182 << "circle" << true << 464 << 580 << 559 << 155 << true
        << QByteArray("[MainWindow]\r\n"
                      "\r\n"
                      "Left = 355\r\n"
                      "Top = 182\r\n"
                      "Shape = circle\r\n"
                      "Letter = Small\r\n"
                      "\r\n"
                      "[TagListWindow]\r\n"
                      "\r\n"
                      "TLWLeft = 464\r\n"
                      "TLWTop = 580\r\n"
                      "TLWWidth = 559\r\n"
                      "TLWHeight = 155\r\n"
                      "TLWOpen = true\r\n");
    QTest::newRow("rect, capital, tag window closed")
        << 0 << 7 << "rect" << false << 10 << 20 << 300 << 200 << false
        << QByteArray("[MainWindow]\r\n"
                      "\r\n"
                      "Left = 0\r\n"
                      "Top = 7\r\n"
                      "Shape = rect\r\n"
                      "Letter = Capital\r\n"
                      "\r\n"
                      "[TagListWindow]\r\n"
                      "\r\n"
                      "TLWLeft = 10\r\n"
                      "TLWTop = 20\r\n"
                      "TLWWidth = 300\r\n"
                      "TLWHeight = 200\r\n");
    QTest::newRow("poly, negative positions")
        << -1280 << -5 << "poly" << true << -2147483647 - 1 << -300 << 0 << 2147483647 << false
        << QByteArray("[MainWindow]\r\n"
                      "\r\n"
                      "Left = -1280\r\n"
                      "Top = -5\r\n"
                      "Shape = poly\r\n"
                      "Letter = Small\r\n"
                      "\r\n"
                      "[TagListWindow]\r\n"
                      "\r\n"
                      "TLWLeft = -2147483648\r\n"
                      "TLWTop = -300\r\n"
                      "TLWWidth = 0\r\n"
                      "TLWHeight = 2147483647\r\n");
}

void TestSettingsFile::text()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QString, shape);
    QFETCH(bool, smallLetter);
    QFETCH(int, tagLeft);
    QFETCH(int, tagTop);
    QFETCH(int, tagWidth);
    QFETCH(int, tagHeight);
    QFETCH(bool, tagOpen);
    QFETCH(QByteArray, expected);

    Settings s;
    s.left = left;
    s.top = top;
    s.shape = shape;
    s.smallLetter = smallLetter;
    s.tagLeft = tagLeft;
    s.tagTop = tagTop;
    s.tagWidth = tagWidth;
    s.tagHeight = tagHeight;
    s.tagOpen = tagOpen;
    QCOMPARE(SettingsFile::text(s), expected);
}

void TestSettingsFile::writeReplacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = SettingsFile::pathIn(dir.path() + QLatin1Char('/'));
    QVERIFY(writeBytes(path, QByteArray(4000, 'x')));

    QVERIFY(SettingsFile::write(path, sample()));
    QCOMPARE(readAll(path), SettingsFile::text(sample()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Zonefold.ini")});
}

// What the writer writes, the reader finds with its own keys (each with a trailing blank).
void TestSettingsFile::readsBackWhatItWrote_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<bool>("tagOpen");

    QTest::newRow("Left = 355, Top = 182, open") << 355 << 182 << true;
    QTest::newRow("Left = -1920, Top = -40, closed") << -1920 << -40 << false;
}

void TestSettingsFile::readsBackWhatItWrote()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(bool, tagOpen);

    QTemporaryDir dir;
    const QString path = SettingsFile::pathIn(dir.path() + QLatin1Char('/'));
    Settings s = sample();
    s.left = left;
    s.top = top;
    s.tagLeft = left - 1;
    s.tagOpen = tagOpen;
    QVERIFY(SettingsFile::write(path, s));

    const IniFile ini(path);
    const QString main = QStringLiteral("MainWindow");
    const QString tag = QStringLiteral("TagListWindow");
    QCOMPARE(ini.readInteger(main, QStringLiteral("Left "), 0), left);
    QCOMPARE(ini.readInteger(main, QStringLiteral("Top "), 0), top);
    QCOMPARE(ini.readInteger(tag, QStringLiteral("TLWLeft "), 0), left - 1);
    QCOMPARE(ini.readInteger(tag, QStringLiteral("TLWHeight "), 0), 155);
    QCOMPARE(ini.readString(main, QStringLiteral("Shape "), QStringLiteral("Rect")),
             QStringLiteral("circle"));
    QCOMPARE(SettingsFile::startsWith(
                 ini.readString(tag, QStringLiteral("TLWOpen "), QStringLiteral("False")), u't'),
             tagOpen);
}

void TestSettingsFile::failedWriteCreatesNothing_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("folder does not exist") << QStringLiteral("no such folder/Zonefold.ini");
    QTest::newRow("path is a folder") << QStringLiteral("Zonefold.ini");
    QTest::newRow("folder is a file") << QStringLiteral("plain file/Zonefold.ini");
}

void TestSettingsFile::failedWriteCreatesNothing()
{
    QFETCH(QString, path);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Zonefold.ini")));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("plain file")), goodOldFile));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    QVERIFY(!SettingsFile::write(dir.filePath(path), sample()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QVERIFY(QDir(dir.filePath(QStringLiteral("Zonefold.ini"))).isEmpty());
    QCOMPARE(readAll(dir.filePath(QStringLiteral("plain file"))), goodOldFile);
}

// Root may write into any folder; everyone else must fail and leave the old file.
void TestSettingsFile::readOnlyFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = SettingsFile::pathIn(folder + QLatin1Char('/'));
    QVERIFY(writeBytes(path, goodOldFile));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                              | QFile::ExeGroup | QFile::ReadOther
                                              | QFile::ExeOther));
    const bool writable = ::access(QFile::encodeName(folder).constData(), W_OK) == 0;

    const bool written = SettingsFile::write(path, sample());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(written, writable);
    QCOMPARE(readAll(path), writable ? SettingsFile::text(sample()) : goodOldFile);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Zonefold.ini")});
}

// A disk that fills up halfway through: a file-size limit makes the write fail even as root.
void TestSettingsFile::fullDiskKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = SettingsFile::pathIn(dir.path() + QLatin1Char('/'));
    QVERIFY(writeBytes(path, goodOldFile));

    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = 40;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool written = SettingsFile::write(path, sample());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(readAll(path), goodOldFile);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Zonefold.ini")});
}

void TestSettingsFile::trimmed_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("circle") << "circle" << "circle";
    QTest::newRow("  Capital") << "  Capital" << "Capital";
    QTest::newRow("\\tpoly\\r") << "\tpoly\r" << "poly";
    QTest::newRow("\\x01t\\x1f\\x20") << "\x01t\x1f\x20" << "t";
    QTest::newRow(" a b ") << " a b " << "a b";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blanks and controls only") << " \t\r\n\x01 " << "";
    QTest::newRow("full-width blank kept") << QStringLiteral("\u3000c\u3000")
                                           << QStringLiteral("\u3000c\u3000");
    QTest::newRow("DEL kept") << "\x7f" "c" << "\x7f" "c";
}

void TestSettingsFile::trimmed()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(SettingsFile::trimmed(value), expected);
}

void TestSettingsFile::startsWith_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<bool>("expected");

    QTest::newRow("circle") << "circle" << QChar(u'c') << true;
    QTest::newRow("Circle") << "Circle" << QChar(u'c') << true;
    QTest::newRow("c") << "c" << QChar(u'c') << true;
    QTest::newRow("  Capital") << "  Capital" << QChar(u'c') << true;
    QTest::newRow("capital") << "capital" << QChar(u'C') << true;
    QTest::newRow("rect") << "rect" << QChar(u'c') << false;
    QTest::newRow("Small") << "Small" << QChar(u'c') << false;
    QTest::newRow("empty") << "" << QChar(u'c') << false;
    QTest::newRow("blanks only") << "   " << QChar(u'c') << false;
    QTest::newRow("default") << "default" << QChar(u'c') << false;
    QTest::newRow("\\tpoly\\r") << "\tpoly\r" << QChar(u'p') << true;
    QTest::newRow("Poly") << "Poly" << QChar(u'p') << true;
    QTest::newRow("poly for c") << "poly" << QChar(u'c') << false;
    QTest::newRow("true") << "true" << QChar(u't') << true;
    QTest::newRow("True") << "True" << QChar(u't') << true;
    QTest::newRow("t") << "t" << QChar(u't') << true;
    QTest::newRow("false") << "false" << QChar(u't') << false;
    QTest::newRow("yes") << "yes" << QChar(u't') << false;
    QTest::newRow("1") << "1" << QChar(u't') << false;
    QTest::newRow("full-width Ｔ") << QStringLiteral("Ｔrue") << QChar(u't') << false;
}

void TestSettingsFile::startsWith()
{
    QFETCH(QString, value);
    QFETCH(QChar, letter);
    QFETCH(bool, expected);
    QCOMPARE(SettingsFile::startsWith(value, letter), expected);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
