#include "RelativeLink.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// "{cwd}" in a row stands for the current folder, which the test sets itself.
class TestRelativeLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowsPaths_data();
    void windowsPaths();
    void posixPaths_data();
    void posixPaths();
    void fullPath_data();
    void fullPath();

private:
    QString withCurrent(QString text) const;

    QTemporaryDir m_folder;
    QString m_previousFolder;
    QString m_current;
};

void TestRelativeLink::initTestCase()
{
    QVERIFY(m_folder.isValid());
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder.path()));
    m_current = QDir::currentPath();
    QVERIFY(m_current.size() > 1);
}

void TestRelativeLink::cleanupTestCase()
{
    QDir::setCurrent(m_previousFolder);
}

QString TestRelativeLink::withCurrent(QString text) const
{
    return text.replace(QStringLiteral("{cwd}"), m_current);
}

void TestRelativeLink::windowsPaths_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");

    QTest::newRow("same folder")
            << QStringLiteral("C:\\site\\map.jpg") << QStringLiteral("C:\\site\\page.html")
            << QStringLiteral("page.html");
    QTest::newRow("subfolder")
            << QStringLiteral("C:\\site\\map.jpg") << QStringLiteral("C:\\site\\docs\\page.html")
            << QStringLiteral("docs/page.html");
    QTest::newRow("parent folder")
            << QStringLiteral("C:\\site\\img\\map.jpg") << QStringLiteral("C:\\site\\page.html")
            << QStringLiteral("../page.html");
    QTest::newRow("sibling folder")
            << QStringLiteral("C:\\site\\img\\map.jpg")
            << QStringLiteral("C:\\site\\docs\\page.html") << QStringLiteral("../docs/page.html");
    QTest::newRow("two up two down")
            << QStringLiteral("C:\\site\\img\\big\\map.jpg")
            << QStringLiteral("C:\\site\\docs\\a\\page.html")
            << QStringLiteral("../../docs/a/page.html");
    QTest::newRow("folder name is a prefix")
            << QStringLiteral("C:\\site\\img\\map.jpg")
            << QStringLiteral("C:\\site\\imgs\\page.html") << QStringLiteral("../imgs/page.html");
    QTest::newRow("other drive")
            << QStringLiteral("C:\\site\\map.jpg") << QStringLiteral("D:\\web\\page.html")
            << QStringLiteral("page.html");
    QTest::newRow("drive root")
            << QStringLiteral("C:\\map.jpg") << QStringLiteral("C:\\page.html")
            << QStringLiteral("page.html");
    QTest::newRow("picture itself")
            << QStringLiteral("C:\\site\\map.jpg") << QStringLiteral("C:\\site\\map.jpg")
            << QStringLiteral("map.jpg");
    QTest::newRow("empty base")
            << QString() << QStringLiteral("C:\\site\\docs\\page.html")
            << QStringLiteral("page.html");
    QTest::newRow("folder case differs")
            << QStringLiteral("C:\\Site\\img\\map.jpg") << QStringLiteral("C:\\site\\page.html")
            << QStringLiteral("../../site/page.html");
    QTest::newRow("drive case differs")
            << QStringLiteral("c:\\site\\img\\map.jpg") << QStringLiteral("C:\\site\\page.html")
            << QStringLiteral("page.html");
    QTest::newRow("japanese target folder")
            << QStringLiteral("C:\\site\\map.jpg") << QStringLiteral("C:\\site\\表示\\page.html")
            << QStringLiteral("表示/page.html");
    QTest::newRow("japanese base folder")
            << QStringLiteral("C:\\site\\表示\\map.jpg") << QStringLiteral("C:\\site\\page.html")
            << QStringLiteral("../page.html");
    QTest::newRow("japanese file other drive")
            << QStringLiteral("C:\\site\\map.jpg") << QStringLiteral("D:\\表示\\地図.html")
            << QStringLiteral("地図.html");
    QTest::newRow("dot and dot-dot folded")
            << QStringLiteral("C:\\site\\img\\..\\map.jpg")
            << QStringLiteral("C:\\site\\.\\docs\\x\\..\\page.html")
            << QStringLiteral("docs/page.html");
    QTest::newRow("forward slashes")
            << QStringLiteral("C:/site/img/map.jpg") << QStringLiteral("C:/site/page.html")
            << QStringLiteral("../page.html");
}

void TestRelativeLink::windowsPaths()
{
    QFETCH(QString, base);
    QFETCH(QString, target);
    QTEST(relativeLink(target, base), "expected");
}

void TestRelativeLink::posixPaths_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");

    QTest::newRow("sibling folder")
            << QStringLiteral("/home/u/site/img/map.jpg")
            << QStringLiteral("/home/u/site/docs/page.html") << QStringLiteral("../docs/page.html");
    QTest::newRow("deeper folder")
            << QStringLiteral("/home/u/site/map.jpg")
            << QStringLiteral("/home/u/site/docs/a/page.html")
            << QStringLiteral("docs/a/page.html");
    QTest::newRow("same folder")
            << QStringLiteral("/home/u/site/map.jpg") << QStringLiteral("/home/u/site/page.html")
            << QStringLiteral("page.html");
    QTest::newRow("picture itself")
            << QStringLiteral("/home/u/site/map.jpg") << QStringLiteral("/home/u/site/map.jpg")
            << QStringLiteral("map.jpg");
    QTest::newRow("only the root in common")
            << QStringLiteral("/srv/map.jpg") << QStringLiteral("/home/u/page.html")
            << QStringLiteral("../home/u/page.html");
    QTest::newRow("empty base")
            << QString() << QStringLiteral("/home/u/site/docs/page.html")
            << QStringLiteral("page.html");
    QTest::newRow("empty base colon in file name")
            << QString() << QStringLiteral("/home/u/a:b.html") << QStringLiteral("a:b.html");
    QTest::newRow("colon in folder name")
            << QStringLiteral("/home/u/site/map.jpg")
            << QStringLiteral("/home/u/site/c:/notes:1/page.html")
            << QStringLiteral("c:/notes:1/page.html");
    QTest::newRow("colon in base folder name")
            << QStringLiteral("/home/u/a:b/map.jpg") << QStringLiteral("/home/u/page.html")
            << QStringLiteral("../page.html");
    QTest::newRow("dot-dot in input")
            << QStringLiteral("/home/u/site/img/../map.jpg")
            << QStringLiteral("/home/u/site/./docs/x/../page.html")
            << QStringLiteral("docs/page.html");
    QTest::newRow("japanese folders")
            << QStringLiteral("/home/u/表示/map.jpg") << QStringLiteral("/home/u/表示s/地図.html")
            << QStringLiteral("../表示s/地図.html");
    QTest::newRow("relative base")
            << QStringLiteral("img/map.jpg") << QStringLiteral("{cwd}/docs/page.html")
            << QStringLiteral("../docs/page.html");
    QTest::newRow("relative target")
            << QStringLiteral("{cwd}/map.jpg") << QStringLiteral("docs/../page.html")
            << QStringLiteral("page.html");
    QTest::newRow("empty target") << QStringLiteral("/home/u/map.jpg") << QString() << QString();
}

void TestRelativeLink::posixPaths()
{
    QFETCH(QString, base);
    QFETCH(QString, target);
    QTEST(relativeLink(withCurrent(target), withCurrent(base)), "expected");
}

void TestRelativeLink::fullPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("drive path unchanged")
            << QStringLiteral("C:\\site\\map.jpg") << QStringLiteral("C:\\site\\map.jpg");
    QTest::newRow("drive path folded")
            << QStringLiteral("C:\\site\\.\\img\\..\\\\map.jpg")
            << QStringLiteral("C:\\site\\map.jpg");
    QTest::newRow("drive path above the root")
            << QStringLiteral("C:\\..\\..\\map.jpg") << QStringLiteral("C:\\map.jpg");
    QTest::newRow("drive path with slashes")
            << QStringLiteral("d:/web/page.html") << QStringLiteral("d:\\web\\page.html");
    QTest::newRow("posix folded")
            << QStringLiteral("/home/u/./site//img/../map.jpg")
            << QStringLiteral("/home/u/site/map.jpg");
    QTest::newRow("posix above the root") << QStringLiteral("/../a") << QStringLiteral("/a");
    QTest::newRow("posix root") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("posix trailing separator")
            << QStringLiteral("/home/u/") << QStringLiteral("/home/u/");
    QTest::newRow("relative") << QStringLiteral("docs/../page.html")
                              << QStringLiteral("{cwd}/page.html");
    QTest::newRow("relative colon name")
            << QStringLiteral("c:notes.html") << QStringLiteral("{cwd}/c:notes.html");
    QTest::newRow("dot") << QStringLiteral(".") << QStringLiteral("{cwd}");
}

void TestRelativeLink::fullPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(fullPathOf(path), withCurrent(expected));
}

QTEST_GUILESS_MAIN(TestRelativeLink)
#include "tst_relativelink.moc"
