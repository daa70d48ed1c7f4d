// Speed and memory figures for a large photo: decoding, opening, zooming and painting.
//
//   QT_QPA_PLATFORM=offscreen zonefold_bench
//
// Writes an 8000 x 6000 photo-like JPEG and PNG to a temporary folder, then measures
// each in a process of its own, so that each gets its own peak resident memory.

#include "Application.h"
#include "Forms.h"
#include "MainForm.h"
#include "MapForm.h"
#include "MenuItem.h"
#include "PictureLoader.h"
#include "PictureView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QMap>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QSize PictureSize(8000, 6000);
const QSize VisibleView(1000, 800);
const float ZoomLevels[] = {-2.0f, 0.0f, 2.0f, 4.0f};
constexpr int Repeats = 5;

double peakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // KiB on Linux
}

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Smooth colour gradients with a little sensor noise: compresses like a photo.
QImage photoLike(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    std::vector<double> columnRed(size.width()), columnGreen(size.width());
    std::vector<double> rowBlue(size.height()), rowGreen(size.height());
    for (int x = 0; x < size.width(); ++x) {
        columnRed[x] = 70 * std::sin(x / 900.0) + 110;
        columnGreen[x] = 40 * std::cos(x / 1700.0);
    }
    for (int y = 0; y < size.height(); ++y) {
        rowBlue[y] = 90 * std::sin(y / 1100.0 + 1) + 120;
        rowGreen[y] = 50 * std::sin(y / 600.0) + 100;
    }
    quint32 noise = 2463534242u;
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = int(noise % 13) - 6;
            const auto channel = [grain](double value) {
                return qBound(0, int(value) + grain, 255);
            };
            line[x] = qRgb(channel(columnRed[x] + y / 100.0), channel(columnGreen[x] + rowGreen[y]),
                           channel(rowBlue[y] + x / 200.0));
        }
    }
    return image;
}

int makePictures(const QString &folder)
{
    const QImage image = photoLike(PictureSize);
    for (const char *name : {"photo.jpg", "photo.png"}) {
        QImageWriter writer(folder + QLatin1Char('/') + QLatin1String(name));
        writer.setQuality(90);
        if (!writer.write(image)) {
            std::fprintf(stderr, "cannot write %s: %s\n", name, qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}

// Answers the map name dialog as soon as it shows, noting when that was.
class MapDialogAnswer : public QObject
{
public:
    QElapsedTimer clock;
    double shownAfterMs = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *dialog = qobject_cast<TfmMap *>(watched)) {
                shownAfterMs = clock.nsecsElapsed() / 1e6;
                QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

void scrollToMiddle(QScrollArea *box)
{
    for (QScrollBar *bar : {box->horizontalScrollBar(), box->verticalScrollBar()})
        bar->setValue(bar->maximum() / 2);
}

// One rubber-band move at zoom +2: the pointer moves while a rectangle band is
// shown, and the window repaints what changed (the band's old and new bounds).
double rubberBandMoveMs(TfmMain *main)
{
    while (main->zoom < 2.0f)
        main->mnBigClick(main->mnBig);
    while (main->zoom > 2.0f)
        main->mnSmallClick(main->mnSmall);
    main->mnSRectClick(main->mnSRect);
    scrollToMiddle(main->ScrollBox1);
    QApplication::processEvents();

    PictureView *view = main->Graph;
    const QPoint corner = view->mapFrom(main->ScrollBox1->viewport(), QPoint(100, 100));
    main->GraphMouseDown(view, Qt::LeftButton, {}, corner.x(), corner.y());
    QApplication::processEvents();

    std::vector<double> moves;
    for (int i = 0; i < 40; ++i) {
        // Back and forth, so that every move changes the band.
        const QPoint at = corner + (i % 2 ? QPoint(550, 420) : QPoint(400, 300));
        moves.push_back(milliseconds([&] {
            QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
            QApplication::processEvents(); // paints the parts that changed
        }));
    }
    main->GraphMouseDown(view, Qt::RightButton, {}, corner.x(), corner.y());
    return median(moves);
}

// Prints "key value" lines for the parent to gather.
int measure(const QString &file, int argc, char **argv)
{
    QApplication application(argc, argv);
    QTemporaryDir programFolder;
    Application::initialise();
    Application::setProgramFolder(programFolder.path() + QLatin1Char('/'));
    Application::setArguments({QCoreApplication::applicationFilePath()});
    Application::setErrorHandler([](const QString &, const QString &text) {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    });
    QTextStream out(stdout);

    out << "file_mb " << QFileInfo(file).size() / 1048576.0 << '\n';
    {
        LoadedPicture loaded;
        out << "decode_ms " << milliseconds([&] { loaded = PictureLoader::load(file); }) << '\n';
        if (!loaded.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(loaded.error));
            return 1;
        }
        out << "picture_mb " << loaded.image.sizeInBytes() / 1048576.0 << '\n';
    }

    Forms::create();
    TfmMain *main = fmMain;
    main->show();
    QApplication::processEvents();

    MapDialogAnswer answer;
    application.installEventFilter(&answer);
    answer.clock.start();
    Application::guard([&] { main->OpenImage(file); });
    const double openMs = answer.clock.nsecsElapsed() / 1e6;
    application.removeEventFilter(&answer);
    if (main->picture.isNull())
        return 1;
    out << "open_dialog_ms " << answer.shownAfterMs << '\n';
    out << "open_total_ms " << openMs << '\n';

    // A window whose view part is VisibleView.
    const QSize frame = main->size() - main->ScrollBox1->viewport()->size();
    main->resize(VisibleView + frame);
    QApplication::processEvents();
    out << "visible " << main->ScrollBox1->viewport()->width() << 'x'
        << main->ScrollBox1->viewport()->height() << '\n';

    // Repainting the view itself: a repaint of the scroll box's viewport leaves its
    // opaque child alone.
    PictureView *view = main->Graph;
    for (const float level : ZoomLevels) {
        // Walk to the level's neighbour, then time the last step (and its repaint)
        // a few times over.
        const bool in = level >= main->zoom;
        const auto toward = [&](bool zoomIn) {
            if (zoomIn)
                main->mnBigClick(main->mnBig);
            else
                main->mnSmallClick(main->mnSmall);
        };
        const float neighbour = level + (in ? -0.5f : 0.5f);
        while (main->zoom != neighbour)
            toward(main->zoom < neighbour);
        std::vector<double> steps, handlers;
        for (int i = 0; i < Repeats; ++i) {
            if (main->zoom != neighbour)
                toward(!in);
            scrollToMiddle(main->ScrollBox1);
            view->repaint();
            QElapsedTimer timer;
            timer.start();
            toward(in);
            handlers.push_back(timer.nsecsElapsed() / 1e6);
            scrollToMiddle(main->ScrollBox1);
            view->repaint();
            steps.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::vector<double> repaints;
        for (int i = 0; i < Repeats; ++i)
            repaints.push_back(milliseconds([&] { view->repaint(); }));
        out << "zoom " << level << ' ' << view->width() << 'x' << view->height()
            << ' ' << median(handlers) << ' ' << median(steps) << ' ' << median(repaints) << '\n';
    }

    out << "band_move_ms " << rubberBandMoveMs(main) << '\n';

    Forms::destroy();
    out << "peak_mb " << peakResidentMb() << '\n';
    return 0;
}

struct Figures
{
    QMap<QString, QString> values;
    QStringList zoomRows; // level, view, handler ms, step ms, repaint ms
};

Figures gather(const QString &output)
{
    Figures figures;
    for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.first() == QLatin1String("zoom"))
            figures.zoomRows << line.mid(5);
        else if (parts.size() == 2)
            figures.values.insert(parts[0], parts[1]);
    }
    return figures;
}

QString number(const QString &text, int decimals)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? QString::number(value, 'f', decimals) : QStringLiteral("-");
}

int run(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString self = QCoreApplication::applicationFilePath();

    QProcess maker;
    maker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    maker.start(self, {QStringLiteral("--make-pictures"), folder.path()});
    if (!maker.waitForFinished(-1) || maker.exitCode() != 0) {
        std::fprintf(stderr, "could not write the pictures\n");
        return 1;
    }

    const QStringList names{QStringLiteral("photo.jpg"), QStringLiteral("photo.png")};
    QList<Figures> results;
    for (const QString &name : names) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(self, {QStringLiteral("--measure"), folder.filePath(name)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "measuring %s failed\n", qPrintable(name));
            return 1;
        }
        results << gather(QString::fromLocal8Bit(child.readAllStandardOutput()));
    }

    QTextStream out(stdout);
    const auto row = [&](const QString &label, const std::function<QString(const Figures &)> &cell) {
        out << label.leftJustified(38);
        for (const Figures &figures : results)
            out << cell(figures).rightJustified(12);
        out << '\n';
    };
    const auto value = [](const char *key, int decimals) {
        return [key, decimals](const Figures &f) {
            return number(f.values.value(QLatin1String(key)), decimals);
        };
    };

    out << "Zonefold benchmark: " << PictureSize.width() << " x " << PictureSize.height()
        << " photo-like picture, visible view "
        << results.first().values.value(QStringLiteral("visible")) << ", median of " << Repeats
        << " for zoom and repaint\n\n";
    out << QString().leftJustified(38);
    for (const QString &name : names)
        out << name.rightJustified(12);
    out << '\n';
    row(QStringLiteral("file size (MB)"), value("file_mb", 1));
    row(QStringLiteral("decoded picture (MB)"), value("picture_mb", 1));
    row(QStringLiteral("decode alone, PictureLoader (ms)"), value("decode_ms", 1));
    row(QStringLiteral("OpenImage until map dialog shows (ms)"), value("open_dialog_ms", 1));
    row(QStringLiteral("OpenImage in all, dialog answered (ms)"), value("open_total_ms", 1));
    for (int i = 0; i < results.first().zoomRows.size(); ++i) {
        const QStringList first = results.first().zoomRows.at(i).split(QLatin1Char(' '));
        const double level = first.value(0).toDouble();
        out << "zoom factor " << (level > 0 ? "+" : "") << level << " (scale "
            << std::pow(2.0, level) << "), view " << first.value(1) << '\n';
        const auto zoomCell = [i](int column) {
            return [i, column](const Figures &f) {
                return number(f.zoomRows.value(i).split(QLatin1Char(' ')).value(column), 2);
            };
        };
        row(QStringLiteral("  zoom handler alone (ms)"), zoomCell(2));
        row(QStringLiteral("  zoom step with its repaint (ms)"), zoomCell(3));
        row(QStringLiteral("  repaint of the visible view (ms)"), zoomCell(4));
    }
    row(QStringLiteral("rubber-band move at zoom +2 (ms)"), value("band_move_ms", 2));
    row(QStringLiteral("peak resident memory (MB)"), value("peak_mb", 0));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--make-pictures") == 0) {
        QCoreApplication application(argc, argv);
        return makePictures(QString::fromLocal8Bit(argv[2]));
    }
    if (argc >= 3 && qstrcmp(argv[1], "--measure") == 0)
        return measure(QString::fromLocal8Bit(argv[2]), argc, argv);
    return run(argc, argv);
}
