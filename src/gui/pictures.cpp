#include "gui/pictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPixmapCache>
#include <QSet>
#include <algorithm>
#include <cmath>

// The pictures are compiled into the static gui library: register them
// explicitly, as nothing else references that object file.
static void registerPictures() { Q_INIT_RESOURCE(tarvolin); }

namespace tarvolin {

namespace {

// Lower-cased base name (no extension) -> resource path, built once from the
// compiled-in resources.
const QHash<QString, QString>& resourceIndex() {
    static const QHash<QString, QString> index = [] {
        registerPictures();
        QHash<QString, QString> h;
        QDirIterator it(":/", QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.startsWith(":/qt-project.org")) continue;
            const QFileInfo fi(path);
            const QString base = fi.completeBaseName().toLower();
            // "play@2x.png" is the larger drawing of "play", found beside it.
            if (base.endsWith(QLatin1String("@2x"))) continue;
            const QString folder = fi.dir().dirName().toLower();
            // "icon/100.png" is reachable as "100" and as "icon/100".
            h.insert(folder + "/" + base, path);
            if (!h.contains(base)) h.insert(base, path);
        }
        return h;
    }();
    return index;
}

// The resource path of a key, or the path itself; empty when none.
QString picturePath(const QString& key) {
    if (key.startsWith('/') || key.startsWith(":/")) return key;
    const auto& idx = resourceIndex();
    QString k = key.toLower();
    const int dot = k.lastIndexOf('.');
    if (dot > 0 && !k.contains('/')) k = k.left(dot);
    // A bare key names a bitmap first (bitmaps and icons share numbers).
    QString path;
    if (!k.contains('/')) path = idx.value("bitmap/" + k);
    if (path.isEmpty()) path = idx.value(k);
    return path;
}

// The larger drawing of one of the program's own pictures; empty when it has
// none (a file of the user's, or a picture drawn at one size only).
QString largerPath(const QString& path) {
    if (!path.startsWith(":/")) return {};
    const int dot = path.lastIndexOf('.');
    const QString larger = path.left(dot) + "@2x" + path.mid(dot);
    return QFile::exists(larger) ? larger : QString();
}

// The transport pictures: shapes of one colour, drawn in the button's text
// colour so that they stand out on light and dark buttons alike.
bool isShape(const QString& path) {
    static const QSet<QString> shapes = {"play", "pause", "stop", "next", "previous", "ahead", "back"};
    const QFileInfo fi(path);
    return path.startsWith(":/") && fi.dir().dirName() == "bitmap" && shapes.contains(fi.completeBaseName().section('@', 0, 0));
}

QPixmap inked(QPixmap pm, const QColor& ink) {
    QPainter p(&pm);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(QRect(QPoint(), pm.size()), ink);
    return pm;
}

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

QColor mixed(const QColor& from, const QColor& to, double t) {
    const QColor a = from.toRgb(), b = to.toRgb();
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t), a.alphaF());
}

QIcon drawnIcon(int number) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(30, 60, 120));
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 30, 30);
    p.setBrush(Qt::white);
    if (number == 100) {
        const QPointF tri[3] = {{11, 8}, {25, 16}, {11, 24}};
        p.drawPolygon(tri, 3);
    } else if (number == 101) {
        p.drawRect(10, 9, 4, 14);
        p.drawRect(18, 9, 4, 14);
    } else {
        p.drawRect(10, 10, 12, 12);
    }
    return QIcon(pm);
}

}  // namespace

QPixmap picture(const std::string& keyOrPath, qreal ratio) {
    if (keyOrPath.empty()) return {};
    const QString key = QString::fromStdString(keyOrPath);
    const bool larger = ratio > 1;
    const QString cacheKey = larger ? key + "@2x" : key;
    QPixmap pm;
    if (QPixmapCache::find(cacheKey, &pm)) return pm;
    QString path = picturePath(key);
    if (larger) {
        if (const QString big = largerPath(path); !big.isEmpty()) {
            if (!pm.load(big)) return {};
            pm.setDevicePixelRatio(2);
            QPixmapCache::insert(cacheKey, pm);
            return pm;
        }
    }
    if (path.isEmpty() || !pm.load(path)) return {};
    QPixmapCache::insert(cacheKey, pm);
    return pm;
}

PictureSizes pictureSizes(const std::string& keyOrPath) { return {picture(keyOrPath, 1), picture(keyOrPath, 2)}; }

QIcon pictureIcon(const std::string& keyOrPath, const QColor& ink) {
    const PictureSizes sizes = pictureSizes(keyOrPath);
    if (sizes.one.isNull()) return {};
    const bool shape = isShape(picturePath(QString::fromStdString(keyOrPath)));
    QIcon icon;
    for (const QPixmap* pm : {&sizes.one, &sizes.two}) icon.addPixmap(shape ? inked(*pm, ink) : *pm);
    return icon;
}

QIcon programIcon(int number) {
    for (const std::string& key : {"icon/" + std::to_string(number), std::to_string(number)}) {
        const QIcon icon = pictureIcon(key, {});
        if (!icon.isNull()) return icon;
    }
    return drawnIcon(number);
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor legibleOn(const QColor& text, const QColor& background) {
    constexpr double kLegible = 4.5;
    if (!text.isValid() || !background.isValid() || contrastRatio(text, background) >= kLegible) return text;
    // Toward white and toward black by the same small steps: the first that
    // reads wins, the lighter on a tie.
    for (int step = 1; step <= 20; ++step) {
        for (const QColor& end : {QColor(Qt::white), QColor(Qt::black)}) {
            const QColor c = mixed(text, end, step / 20.0);
            if (contrastRatio(c, background) >= kLegible) return c;
        }
    }
    return text;
}

}  // namespace tarvolin
