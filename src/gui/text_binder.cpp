// TextBox: a line edit, or a plain text edit for a multi-line box.
#include "gui/binder_support.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class TextBinder final : public Binder {
public:
    TextBinder(TextBox& t, QWidget* w) : Binder(t, w), t_(t) {
        line_ = qobject_cast<QLineEdit*>(w);
        plain_ = qobject_cast<QPlainTextEdit*>(w);
        if (line_) {
            // Every change not made by the binder is the user's: typed,
            // pasted, or set through assistive technology.
            connect(line_, &QLineEdit::textChanged, this, [this](const QString& s) {
                if (!updating_) t_.userEdited(s.toStdString());
            });
        } else {
            // Lines wrap unless the box has a horizontal scroll bar (1 or 3).
            plain_->setLineWrapMode((t_.ScrollBars() & 1) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
            // The Tab key goes on to the next control, as from a one-line box.
            plain_->setTabChangesFocus(true);
            connect(plain_, &QPlainTextEdit::textChanged, this, [this] {
                if (!updating_) t_.userEdited(modelText(plain_->toPlainText(), true));
            });
        }
        w->installEventFilter(this);
        prependedId_ = t_.prepended.listen([this](std::string_view piece) { prepend(piece); });
    }
    ~TextBinder() override { t_.prepended.unlisten(prependedId_); }
    // A box of several lines shows scroll bars once its text outgrows it: a
    // screen reader names them after the box.
    void applyName(const QString& name) override {
        Binder::applyName(name);
        if (!plain_) return;
        plain_->verticalScrollBar()->setAccessibleName(name);
        plain_->horizontalScrollBar()->setAccessibleName(name);
    }
    void syncAll() override {
        Binder::syncAll();
        for (auto p : {Property::Text, Property::Locked, Property::BackColor, Property::ForeColor, Property::FontBold, Property::MaxLength}) sync(p);
    }
    void sync(Property what) override {
        if (what == Property::Text) {
            setShown(shownText(t_.Text()));
        } else if (what == Property::SelStart || what == Property::SelLength) {
            if (line_) {
                updating_ = true;
                line_->setSelection(t_.SelStart(), t_.SelLength());
                updating_ = false;
            } else {
                QTextCursor c = plain_->textCursor();
                c.setPosition(std::min(t_.SelStart(), static_cast<int>(plain_->document()->characterCount()) - 1));
                c.setPosition(std::min(t_.SelStart() + t_.SelLength(),
                                       static_cast<int>(plain_->document()->characterCount()) - 1),
                              QTextCursor::KeepAnchor);
                plain_->setTextCursor(c);
            }
        } else if (what == Property::Locked) {
            if (line_) line_->setReadOnly(t_.Locked());
            else plain_->setReadOnly(t_.Locked());
        } else if (what == Property::BackColor) {
            setPaletteColour(widget_, QPalette::Base, modelColour(t_.BackColor(), false));
        } else if (what == Property::ForeColor) {
            setPaletteColour(widget_, QPalette::Text, modelColour(t_.ForeColor(), false));
        } else if (what == Property::FontBold) {
            QFont f = widget_->font();
            f.setBold(t_.FontBold());
            widget_->setFont(f);
        } else if (what == Property::MaxLength) {
            const Updating own(updating_);
            if (line_) line_->setMaxLength(t_.MaxLength() > 0 ? t_.MaxLength() : 32767);
        } else {
            Binder::sync(what);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            int code = keyCode(ke->key());
            if (code != 0) {
                t_.KeyDown.raise(code, shiftMask(ke->modifiers()));
                if (code == 0) return true;  // the handler swallowed the key
            }
            const QString text = ke->text();
            if (text.size() == 1 && text[0].unicode() < 128 && text[0].unicode() >= 8) {
                int ascii = text[0].unicode();
                t_.KeyPress.raise(ascii);
                if (ascii == 0) return true;
            }
        }
        return Binder::eventFilter(watched, event);
    }

private:
    void setShown(const QString& s) {
        const Updating own(updating_);
        if (line_) {
            if (line_->text() != s) line_->setText(s);
        } else if (plain_->toPlainText() != s) {
            plain_->setPlainText(s);
        }
    }
    void prepend(std::string_view piece) {
        if (line_) {
            setShown(shownText(t_.Text()));
            return;
        }
        updating_ = true;
        QTextCursor c(plain_->document());
        c.movePosition(QTextCursor::Start);
        c.insertText(shownText(piece));
        updating_ = false;
    }

    TextBox& t_;
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    int prependedId_ = 0;
};

}  // namespace

std::unique_ptr<Binder> bindText(TextBox& t, QWidget* parent) {
    QWidget* w;
    if (t.MultiLine()) w = new QPlainTextEdit(parent);
    else w = new QLineEdit(parent);
    return std::make_unique<TextBinder>(t, w);
}

}  // namespace tarvolin
