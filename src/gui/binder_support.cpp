#include "gui/binder_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>

#include <algorithm>

#include "toolkit/controls.h"

namespace tarvolin {

QString shownText(std::string_view s) {
    QString t = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    t.replace("\r\n", "\n");
    return t;
}

std::string modelText(const QString& t, bool multiLine) {
    if (!multiLine) return t.toStdString();
    QString c = t;
    c.replace("\n", "\r\n");
    return c.toStdString();
}

int mouseButton(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

void setPaletteColour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    if (c.isValid()) p.setColor(role, c);
    else p.setColor(role, QApplication::palette(w).color(role));
    w->setPalette(p);
}

// ---------------------------------------------------------------------------
// Colours and keys

QColor modelColour(std::int64_t v, bool background) {
    if ((v & 0xFF000000LL) == 0x80000000LL) {
        const QPalette pal = QApplication::palette();
        switch (v & 0xFF) {
        case 0x0F:  // button face: the style's own
            return background ? QColor() : pal.color(QPalette::Button);
        case 0x12:  // button text
            return background ? pal.color(QPalette::ButtonText) : QColor();
        case 0x05: return pal.color(QPalette::Base);
        case 0x08: return pal.color(QPalette::Text);
        case 0x02:
        case 0x0D: return pal.color(QPalette::Highlight);
        case 0x0E:
        case 0x09: return pal.color(QPalette::HighlightedText);
        case 0x10: return pal.color(QPalette::Mid);
        case 0x14:
        case 0x16: return pal.color(QPalette::Light);
        case 0x15: return pal.color(QPalette::Dark);
        case 0x18: return pal.color(QPalette::ToolTipBase);
        case 0x17: return pal.color(QPalette::ToolTipText);
        case 0x04: return pal.color(QPalette::Window);
        case 0x11: return pal.color(QPalette::PlaceholderText);
        default: return pal.color(background ? QPalette::Window : QPalette::WindowText);
        }
    }
    const int r = static_cast<int>(v & 0xFF), g = static_cast<int>((v >> 8) & 0xFF),
              b = static_cast<int>((v >> 16) & 0xFF);
    return QColor(r, g, b);
}

int shiftMask(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

bool isPressKey(const QKeyEvent* ke, bool space) {
    const int k = ke->key();
    return (k == Qt::Key_Return || k == Qt::Key_Enter || (space && k == Qt::Key_Space)) && !ke->isAutoRepeat() &&
           !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

int keyCode(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return 48 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    default: return 0;
    }
}

// ---------------------------------------------------------------------------
// ListAdapter

ListAdapter::ListAdapter(ListControl& list, QObject* parent)
    : QAbstractListModel(parent),
      list_(list),
      folders_(dynamic_cast<DirListBox*>(&list)),
      count_(list.ListCount()),
      first_(list.FirstRow()) {
    ids_[0] = list_.rowsInserted.listen([this](int first, int n) {
        if (n <= 0) return;
        beginInsertRows({}, rowOf(first), rowOf(first + n - 1));
        count_ += n;
        endInsertRows();
    });
    ids_[1] = list_.rowsRemoved.listen([this](int first, int n) {
        if (n <= 0) return;
        beginRemoveRows({}, rowOf(first), rowOf(first + n - 1));
        count_ -= n;
        endRemoveRows();
    });
    ids_[2] = list_.rowChanged.listen([this](int i) {
        const QModelIndex ix = indexOfItem(i);
        Q_EMIT dataChanged(ix, ix);
    });
    // A list of choices shows each row's choice as its check mark.
    if (list_.ChoicesChecked) {
        ids_[4] = list_.selectionChanged.listen([this](int i) {
            const int n = rowCount();
            if (n == 0) return;
            const int row = i < 0 ? -1 : rowOf(i);
            if (i >= 0 && (row < 0 || row >= n)) return;
            Q_EMIT dataChanged(index(i < 0 ? 0 : row), index(i < 0 ? n - 1 : row), {Qt::CheckStateRole});
        });
    }
    ids_[3] = list_.reset.listen([this] {
        beginResetModel();
        count_ = list_.ListCount();
        first_ = list_.FirstRow();
        endResetModel();
    });
}

ListAdapter::~ListAdapter() {
    list_.rowsInserted.unlisten(ids_[0]);
    list_.rowsRemoved.unlisten(ids_[1]);
    list_.rowChanged.unlisten(ids_[2]);
    list_.reset.unlisten(ids_[3]);
    if (ids_[4]) list_.selectionChanged.unlisten(ids_[4]);
}

int ListAdapter::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_ - first_; }

QVariant ListAdapter::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int item = itemOf(index.row());
    if (role == kIndentRole) return folders_ ? std::min(index.row(), -first_) : 0;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (!folders_) return q(list_.List(item));
        const std::string& s = folders_->List(item);
        const auto slash = s.find_last_of('/');
        if (slash != std::string::npos && slash + 1 < s.size()) return q(s.substr(slash + 1));
        return q(s);
    }
    if (role == Qt::CheckStateRole && list_.ChoicesChecked) return list_.Selected(item) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::AccessibleTextRole)
        return spokenItem ? spokenItem(item) : spokenText(item, data(index, Qt::DisplayRole).toString());
    return {};
}

Qt::ItemFlags ListAdapter::flags(const QModelIndex& index) const {
    const Qt::ItemFlags f = QAbstractListModel::flags(index);
    return list_.ChoicesChecked && index.isValid() ? f | Qt::ItemIsUserCheckable : f;
}

QString ListAdapter::spokenText(int item, const QString& shown) const {
    // A table's ruler line ("~~~~~~|~~~~~~|...") is heard as what it is.
    static const QRegularExpression ruler(QStringLiteral("^[~|]+$"));
    if (ruler.match(shown).hasMatch()) return QStringLiteral("Διαχωριστικό - Separator");
    // A folder list tells the open folder and the folders above it.
    if (folders_ && item == -1) return shown + QStringLiteral(", Τρέχων φάκελος - Current folder");
    if (folders_ && item < -1) return shown + QStringLiteral(", Γονικός φάκελος - Parent folder");
    return shown;
}

}  // namespace tarvolin
