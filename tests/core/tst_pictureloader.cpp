#include "PictureLoader.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using Probes = QList<QPair<QPoint, QColor>>;

class TestPictureLoader : public QObject
{
    Q_OBJECT

private slots:
    void loads_data();
    void loads();
    void refuses_data();
    void refuses();

private:
    QString put(const QString &fileName, const QByteArray &content);
    QTemporaryDir m_dir;
};

namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Clear(Qt::transparent);

// The left half red, the right half blue.
QByteArray halves(const char *format, QSize size = QSize(64, 48))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Red);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() / 2; x < image.width(); ++x)
            image.setPixelColor(x, y, Blue);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        qFatal("cannot write a %s sample: %s", format, qPrintable(writer.errorString()));
    return bytes;
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(ZONEFOLD_FIXTURES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(file.fileName()));
    return file.readAll();
}

const Probes HalvesProbes
        = { { { 16, 24 }, Red }, { { 48, 24 }, Blue }, { { 2, 2 }, Red }, { { 61, 45 }, Blue } };

// Inside each shape near its corners, and just outside them: a frame taken from the
// drawing instead of the header moves the shapes by tens of pixels.
const Probes ShapesProbes = {
    { { 45, 45 }, Red },
    { { 195, 155 }, Red },
    { { 120, 100 }, Red },
    { { 35, 100 }, Clear },
    { { 120, 165 }, Clear },
    { { 290, 180 }, Blue },
    { { 290, 105 }, Blue },
    { { 290, 255 }, Blue },
    { { 225, 180 }, Blue },
    { { 355, 180 }, Blue },
    { { 230, 110 }, Clear },
    { { 5, 5 }, Clear },
    { { 395, 295 }, Clear },
};

// Transparent where nothing was drawn; elsewhere opaque and near the colour, as JPEG
// shifts colours a little.
bool looksLike(const QColor &seen, const QColor &expected)
{
    if (expected.alpha() == 0)
        return seen.alpha() == 0;
    return seen.alpha() == 255 && qAbs(seen.red() - expected.red()) < 48
            && qAbs(seen.green() - expected.green()) < 48
            && qAbs(seen.blue() - expected.blue()) < 48;
}

QByteArray withWmfUnitsPerInch(QByteArray wmf, quint16 unitsPerInch)
{
    qToLittleEndian<quint16>(unitsPerInch, wmf.data() + 14);
    quint16 checksum = 0;
    for (int at = 0; at < 20; at += 2)
        checksum ^= qFromLittleEndian<quint16>(wmf.constData() + at);
    qToLittleEndian<quint16>(checksum, wmf.data() + 20);
    return wmf;
}

QByteArray withEmfFrameRight(QByteArray emf, qint32 right)
{
    qToLittleEndian<qint32>(right, emf.data() + 32);
    return emf;
}

QByteArray withBmpWidth(QByteArray bmp, qint32 width)
{
    qToLittleEndian<qint32>(width, bmp.data() + 18);
    return bmp;
}

QString damaged(const char *name)
{
    return QStringLiteral("画像 %1 は途中で切れているか壊れています").arg(QLatin1String(name));
}

} // namespace

QString TestPictureLoader::put(const QString &fileName, const QByteArray &content)
{
    const QString path = m_dir.filePath(fileName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestPictureLoader::loads_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Probes>("probes");

    const QSize halvesSize(64, 48);
    QTest::newRow("bmp") << "sample.bmp" << halves("bmp") << halvesSize << HalvesProbes;
    QTest::newRow("jpg") << "sample.jpg" << halves("jpeg") << halvesSize << HalvesProbes;
    QTest::newRow("jpeg") << "sample.jpeg" << halves("jpeg") << halvesSize << HalvesProbes;
    QTest::newRow("png") << "sample.png" << halves("png") << halvesSize << HalvesProbes;
    QTest::newRow("gif") << "sample.gif" << fixture("halves.gif") << QSize(40, 30)
                         << Probes { { { 10, 15 }, Red }, { { 30, 15 }, Blue },
                                { { 39, 29 }, Blue } };
    QTest::newRow("ico") << "sample.ico" << halves("ico") << halvesSize << HalvesProbes;
    QTest::newRow("wmf") << "shapes.wmf" << fixture("shapes.wmf") << QSize(400, 300)
                         << ShapesProbes;
    // Without a placeable header there is no frame: the drawing itself is the picture.
    QTest::newRow("wmf without placeable header")
            << "plain.wmf" << fixture("shapes.wmf").mid(22) << QSize(320, 220)
            << Probes { { { 3, 3 }, Red }, { { 157, 117 }, Red }, { { 170, 60 }, Clear },
                   { { 250, 140 }, Blue }, { { 250, 65 }, Blue }, { { 185, 70 }, Clear },
                   { { 3, 215 }, Clear } };
    QTest::newRow("emf") << "shapes.emf" << fixture("shapes.emf") << QSize(400, 300)
                         << ShapesProbes;
    QTest::newRow("tif") << "sample.tif" << halves("tiff") << halvesSize << HalvesProbes;
    QTest::newRow("tiff") << "sample.tiff" << halves("tiff") << halvesSize << HalvesProbes;
    QTest::newRow("PHOTO.JPG") << "PHOTO.JPG" << halves("jpeg") << halvesSize << HalvesProbes;
    QTest::newRow("Shapes.Emf") << "Shapes.Emf" << fixture("shapes.emf") << QSize(400, 300)
                                << ShapesProbes;
    QTest::newRow("bmp named x.png.bmp")
            << "x.png.bmp" << halves("bmp") << halvesSize << HalvesProbes;
    QTest::newRow(".png") << ".png" << halves("png") << halvesSize << HalvesProbes;
    // 192 MB decoded, past Qt's default allocation limit of 128 MB.
    QTest::newRow("8000x6000 photo")
            << "camera.jpg" << halves("jpeg", QSize(8000, 6000)) << QSize(8000, 6000)
            << Probes { { { 100, 100 }, Red }, { { 3900, 5900 }, Red }, { { 4100, 100 }, Blue },
                   { { 7999, 5999 }, Blue } };
}

void TestPictureLoader::loads()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QSize, size);
    QFETCH(Probes, probes);

    const LoadedPicture picture = PictureLoader::load(put(fileName, content));
    QCOMPARE(picture.error, QString());
    QCOMPARE(picture.image.size(), size);
    QVERIFY(picture.image.format() == QImage::Format_RGB32
            || picture.image.format() == QImage::Format_ARGB32_Premultiplied);
    for (const auto &[at, expected] : probes) {
        const QColor seen = picture.image.pixelColor(at);
        QVERIFY2(looksLike(seen, expected),
                qPrintable(QStringLiteral("at %1,%2: %3 instead of %4")
                                   .arg(QString::number(at.x()), QString::number(at.y()),
                                           seen.name(QColor::HexArgb),
                                           expected.name(QColor::HexArgb))));
    }
}

void TestPictureLoader::refuses_data()
{
    QTest::addColumn<QString>("entry"); // "file", "folder", "none" or "sparse" (2 GiB)
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");

    const QByteArray png = halves("png");
    const QByteArray jpeg = halves("jpeg");
    const QByteArray bmp = halves("bmp");
    const QByteArray gif = fixture("halves.gif");
    const QByteArray wmf = fixture("shapes.wmf");
    const QByteArray emf = fixture("shapes.emf");

    QTest::newRow("png named .jpg")
            << "file"
            << "photo.jpg" << png << "photo.jpg は .jpg の画像として読めません";
    QTest::newRow("gif named .PNG")
            << "file"
            << "anim.PNG" << gif << "anim.PNG は .PNG の画像として読めません";
    QTest::newRow("jpeg named .tif")
            << "file"
            << "scan.tif" << jpeg << "scan.tif は .tif の画像として読めません";
    QTest::newRow("emf named .wmf")
            << "file"
            << "clip.wmf" << emf << "clip.wmf は .wmf の画像として読めません";
    QTest::newRow("wmf named .emf")
            << "file"
            << "clip.emf" << wmf << "clip.emf は .emf の画像として読めません";
    QTest::newRow("text named .bmp")
            << "file"
            << "notes.bmp" << QByteArray("hello\r\n") << "notes.bmp は .bmp の画像として読めません";
    QTest::newRow("empty .ico") << "file"
                                << "empty.ico" << QByteArray()
                                << "empty.ico は .ico の画像として読めません";

    QTest::newRow("unknown extension .xyz")
            << "file"
            << "photo.xyz" << png << "拡張子 .xyz の画像形式は処理できません";
    QTest::newRow("unknown extension .PSD")
            << "file"
            << "layers.PSD" << png << "拡張子 .PSD の画像形式は処理できません";
    QTest::newRow("svg, which Qt could read")
            << "file"
            << "logo.svg" << QByteArray("<svg/>") << "拡張子 .svg の画像形式は処理できません";
    QTest::newRow("no extension") << "file"
                                  << "README" << png << "拡張子 . の画像形式は処理できません";
    QTest::newRow("dotted folder, no extension")
            << "file"
            << "v1.png/photo" << png << "拡張子 . の画像形式は処理できません";
    QTest::newRow("missing .xyz") << "none"
                                  << "missing.xyz" << QByteArray()
                                  << "拡張子 .xyz の画像形式は処理できません";

    QTest::newRow("missing file") << "none"
                                  << "missing.png" << QByteArray()
                                  << "ファイル missing.png が見つかりません";
    QTest::newRow("folder named .png")
            << "folder"
            << "folder.png" << QByteArray() << "ファイル folder.png を開けません";
    QTest::newRow("2 GiB bmp") << "sparse"
                               << "big.bmp" << bmp << "ファイル big.bmp が大きすぎます";

    QTest::newRow("bmp short by two bytes")
            << "file"
            << "cut.bmp" << bmp.left(bmp.size() - 2) << damaged("cut.bmp");
    QTest::newRow("bmp cut in half") << "file"
                                     << "cut.bmp" << bmp.left(bmp.size() / 2) << damaged("cut.bmp");
    QTest::newRow("jpg cut in its scan")
            << "file"
            << "cut.jpg" << jpeg.left(jpeg.size() - 10) << damaged("cut.jpg");
    QTest::newRow("jpg cut in its tables")
            << "file"
            << "cut.jpg" << jpeg.left(jpeg.size() / 2) << damaged("cut.jpg");
    QTest::newRow("png cut in half") << "file"
                                     << "cut.png" << png.left(png.size() / 2) << damaged("cut.png");
    QTest::newRow("gif cut in its image data")
            << "file"
            << "cut.gif" << gif.left(gif.size() / 2) << damaged("cut.gif");
    const QByteArray ico = halves("ico");
    QTest::newRow("ico cut in half") << "file"
                                     << "cut.ico" << ico.left(ico.size() / 2) << damaged("cut.ico");
    const QByteArray tiff = halves("tiff");
    QTest::newRow("tif cut in half")
            << "file"
            << "cut.tif" << tiff.left(tiff.size() / 2) << damaged("cut.tif");
    QTest::newRow("wmf without its last record")
            << "file"
            << "cut.wmf" << wmf.left(wmf.size() - 6) << damaged("cut.wmf");
    QTest::newRow("wmf cut in its header") << "file"
                                           << "cut.wmf" << wmf.left(30) << damaged("cut.wmf");
    QTest::newRow("emf without its last record")
            << "file"
            << "cut.emf" << emf.left(emf.size() - 20) << damaged("cut.emf");
    QTest::newRow("emf cut in a record")
            << "file"
            << "cut.emf" << emf.left(emf.size() - 30) << damaged("cut.emf");
    QTest::newRow("wmf with zero units per inch")
            << "file"
            << "zero.wmf" << withWmfUnitsPerInch(wmf, 0) << damaged("zero.wmf");

    QTest::newRow("png bomb 60000x60000")
            << "file"
            << "bomb.png" << fixture("bomb.png") << "画像 bomb.png が大きすぎます (60000×60000)";
    QTest::newRow("bmp header claiming 70000 wide")
            << "file"
            << "wide.bmp" << withBmpWidth(bmp, 70000) << "画像 wide.bmp が大きすぎます (70000×48)";
    QTest::newRow("wmf header at one unit per inch")
            << "file"
            << "huge.wmf" << withWmfUnitsPerInch(wmf, 1)
            << "画像 huge.wmf が大きすぎます (576000×432000)";
    QTest::newRow("emf frame 15270287 wide") << "file"
                                             << "huge.emf" << withEmfFrameRight(emf, 404026344)
                                             << "画像 huge.emf が大きすぎます (15270287×300)";
}

void TestPictureLoader::refuses()
{
    QFETCH(QString, entry);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, error);

    QString path = m_dir.filePath(fileName);
    if (entry == QLatin1String("file") || entry == QLatin1String("sparse"))
        path = put(fileName, content);
    if (entry == QLatin1String("sparse"))
        QVERIFY(QFile::resize(path, 2LL << 30));
    else if (entry == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));

    QElapsedTimer timer;
    timer.start();
    const LoadedPicture picture = PictureLoader::load(path);
    QCOMPARE(picture.error, error);
    QVERIFY(picture.image.isNull());
    QVERIFY2(timer.elapsed() < 2000, "refusing took too long");
}

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
