#include "text_fit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <climits>
#include <optional>

namespace tarvolin::testing {

namespace {

// The name of the control a widget belongs to: its own accessible
// description or that of the nearest ancestor that has one.
QString controlName(const QWidget* w) {
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (!p->accessibleDescription().isEmpty()) return p->accessibleDescription();
    return w->metaObject()->className();
}

// A text, the area its control draws it in, and the part of that area the
// text takes (both in the widget's own coordinates).
struct Drawn {
    QString text;
    QRect area;
    QSize needed;
};

QString sizeText(QSize s) { return QString("%1x%2").arg(s.width()).arg(s.height()); }

std::optional<Drawn> labelText(const QLabel* l) {
    if (l->text().isEmpty() || !l->pixmap().isNull()) return std::nullopt;
    const QFontMetrics fm = l->fontMetrics();
    QRect area = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    int indent = l->indent();
    if (indent < 0 && l->frameWidth() > 0) indent = fm.horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        if (l->alignment() & Qt::AlignRight) area.setRight(area.right() - indent);
        else area.setLeft(area.left() + indent);
    }
    QSize needed;
    if (l->wordWrap()) {
        needed = fm.boundingRect(QRect(0, 0, area.width(), INT_MAX / 2), Qt::TextWordWrap | int(l->alignment()),
                                 l->text())
                     .size();
    } else {
        needed = fm.size(0, l->text());
    }
    return Drawn{l->text(), area, needed};
}

std::optional<Drawn> checkText(const QAbstractButton* b) {
    if (b->text().isEmpty()) return std::nullopt;
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    const bool check = qobject_cast<const QCheckBox*>(b) != nullptr;
    const QRect area = b->style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opt, b);
    const QFontMetrics fm = b->fontMetrics();
    return Drawn{b->text(), area, fm.size(Qt::TextShowMnemonic, b->text())};
}

std::optional<Drawn> titleText(const QGroupBox* g) {
    if (g->title().isEmpty()) return std::nullopt;
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.lineWidth = 1;
    opt.textAlignment = g->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (g->isFlat()) opt.features |= QStyleOptionFrame::Flat;
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    // The style gives the title's rectangle whatever the box's width: the box
    // draws only what lies inside it.
    const QRect area = label.intersected(g->rect());
    return Drawn{g->title(), area, g->fontMetrics().size(Qt::TextShowMnemonic, g->title())};
}

std::optional<Drawn> editText(const QLineEdit* e) {
    // Paths scroll in their boxes; other texts are shown whole.
    if (e->text().isEmpty() || e->text().startsWith('/')) return std::nullopt;
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    QRect area = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e) - e->textMargins();
    area.adjust(2, 0, -2, 0);  // the line edit's own margin on either side
    return Drawn{e->text(), area, e->fontMetrics().size(0, e->text())};
}

std::optional<Drawn> comboText(const QComboBox* c) {
    if (c->isEditable() || c->currentText().isEmpty() || c->currentText().startsWith('/')) return std::nullopt;
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = false;
    opt.frame = c->hasFrame();
    opt.currentText = c->currentText();
    const QRect area = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    return Drawn{c->currentText(), area, c->fontMetrics().size(0, c->currentText())};
}

std::optional<Drawn> drawnText(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return labelText(l);
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return checkText(static_cast<const QAbstractButton*>(w));
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return titleText(g);
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return editText(e);
    if (auto* c = qobject_cast<const QComboBox*>(w)) return comboText(c);
    return std::nullopt;
}

// Where the text is drawn, in the parent's coordinates.
QRect drawnArea(const QWidget* w, const Drawn& d) {
    const QSize shown = d.needed.boundedTo(d.area.size());
    const Qt::Alignment align = [&]() -> Qt::Alignment {
        if (auto* l = qobject_cast<const QLabel*>(w)) return l->alignment();
        return Qt::AlignLeft | Qt::AlignVCenter;
    }();
    return QStyle::alignedRect(w->layoutDirection(), align, shown, d.area).translated(w->pos());
}

void checkTabs(const QTabWidget* tabs, const QWidget* window, std::vector<std::string>& cuts) {
    const QTabBar* bar = tabs->tabBar();
    const QString name = controlName(tabs);
    bool arrows = false;
    for (const QToolButton* arrow : bar->findChildren<QToolButton*>()) arrows = arrows || arrow->isVisibleTo(window);
    if (arrows)
        cuts.push_back((name + ": the page tabs need scroll arrows (they need " +
                        QString::number(bar->sizeHint().width()) + " px, have " + QString::number(tabs->width()) +
                        ")")
                           .toStdString());
    const QRect barArea = QRect(bar->mapTo(tabs, QPoint(0, 0)), bar->size());
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i)) continue;
        const QRect r = bar->tabRect(i);
        const QString where = name + " tab " + QString::number(i) + " '" + bar->tabText(i) + "'";
        if (r.isEmpty() || !bar->rect().contains(r) || !tabs->rect().contains(r.translated(barArea.topLeft()))) {
            cuts.push_back(where.toStdString() + ": not shown whole");
            continue;
        }
        QStyleOptionTab opt;
        opt.initFrom(bar);
        opt.rect = r;
        opt.text = bar->tabText(i);
        opt.shape = bar->shape();
        const QRect area = bar->style()->subElementRect(QStyle::SE_TabBarTabText, &opt, bar);
        const QSize needed = bar->fontMetrics().size(Qt::TextShowMnemonic, bar->tabText(i));
        if (needed.width() > area.width() || needed.height() > area.height())
            cuts.push_back((where + ": needs " + sizeText(needed) + " px, has " + sizeText(area.size()))
                               .toStdString());
    }
}

void checkMenuBar(const QMenuBar* bar, const QWidget* window, std::vector<std::string>& cuts) {
    if (!bar->isVisibleTo(window)) return;
    for (const QToolButton* more : bar->findChildren<QToolButton*>()) {
        if (more->isVisibleTo(window)) cuts.push_back(controlName(bar).toStdString() + ": menus hidden behind »");
    }
    for (QAction* a : bar->actions()) {
        if (!a->isVisible() || a->isSeparator()) continue;
        const QRect r = bar->actionGeometry(a);
        if (r.isEmpty() || !bar->rect().contains(r))
            cuts.push_back("menu '" + a->text().toStdString() + "': not shown in the menu bar");
    }
}

// Whether sibling `above` is stacked over `w` (later among the parent's
// children).
bool stackedAbove(const QWidget* above, const QWidget* w) {
    const QObjectList& kids = w->parentWidget()->children();
    return kids.indexOf(above) > kids.indexOf(w);
}

}  // namespace

std::vector<std::string> cutTexts(QWidget* window) {
    std::vector<std::string> cuts;
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
        checkMenuBar(qobject_cast<QMenuBar*>(main->menuWidget()), window, cuts);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isWindow() || !w->isVisibleTo(window)) continue;
        const QWidget* parent = w->parentWidget();
        const std::string name = controlName(w).toStdString();
        // A control lies inside its container.
        if (!w->accessibleDescription().isEmpty() && parent && !parent->rect().contains(w->geometry()))
            cuts.push_back(name + ": reaches past its container (" +
                           sizeText(QSize(w->geometry().right() + 1, w->geometry().bottom() + 1)).toStdString() + " in " +
                           sizeText(parent->size()).toStdString() + ")");
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) checkTabs(tabs, window, cuts);
        // A box of several lines shows its lines without scrolling sideways.
        if (auto* box = qobject_cast<QPlainTextEdit*>(w); box && box->horizontalScrollBar()->maximum() > 0)
            cuts.push_back(name + ": lines wider than the box");
        const std::optional<Drawn> d = drawnText(w);
        if (!d) continue;
        const std::string what = name + " '" + d->text.toStdString() + "'";
        if (d->needed.width() > d->area.width() || d->needed.height() > d->area.height()) {
            cuts.push_back(what + ": needs " + sizeText(d->needed).toStdString() + " px, has " +
                           sizeText(d->area.size()).toStdString());
            continue;
        }
        // No sibling stacked above covers the text.
        if (!parent) continue;
        const QRect drawn = drawnArea(w, *d);
        for (QObject* o : parent->children()) {
            auto* other = qobject_cast<QWidget*>(o);
            if (!other || other == w || other->isWindow() || !other->isVisibleTo(window)) continue;
            if (stackedAbove(other, w) && other->geometry().intersects(drawn))
                cuts.push_back(what + ": covered by " + controlName(other).toStdString());
        }
    }
    return cuts;
}

}  // namespace tarvolin::testing
