#include "gui/pictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPixmapCache>

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
            const QString folder = fi.dir().dirName().toLower();
            // "icon/100.png" is reachable as "100" and as "icon/100".
            h.insert(folder + "/" + base, path);
            if (!h.contains(base)) h.insert(base, path);
        }
        return h;
    }();
    return index;
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

QPixmap picture(const std::string& keyOrPath) {
    if (keyOrPath.empty()) return {};
    const QString key = QString::fromStdString(keyOrPath);
    QPixmap pm;
    if (QPixmapCache::find(key, &pm)) return pm;
    QString path;
    if (key.startsWith('/') || key.startsWith(":/")) {
        path = key;
    } else {
        const auto& idx = resourceIndex();
        QString k = key.toLower();
        const int dot = k.lastIndexOf('.');
        if (dot > 0 && !k.contains('/')) k = k.left(dot);
        // A bare key names a bitmap first (bitmaps and icons share numbers).
        if (!k.contains('/')) path = idx.value("bitmap/" + k);
        if (path.isEmpty()) path = idx.value(k);
    }
    if (path.isEmpty() || !pm.load(path)) return {};
    QPixmapCache::insert(key, pm);
    return pm;
}

QIcon programIcon(int number) {
    const QPixmap pm = picture("icon/" + std::to_string(number));
    if (!pm.isNull()) return QIcon(pm);
    const QPixmap any = picture(std::to_string(number));
    if (!any.isNull()) return QIcon(any);
    return drawnIcon(number);
}

}  // namespace tarvolin
