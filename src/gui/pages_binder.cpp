// MultiPage: a tab widget, one tab a page.
#include "gui/binder_support.h"

#include <QTabWidget>
#include <string>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class PagesBinder final : public Binder {
public:
    PagesBinder(MultiPage& m, QTabWidget* w) : Binder(m, w), m_(m), w_(w) {
        connect(w, &QTabWidget::currentChanged, this, [this](int i) {
            if (updating_ || i < 0) return;
            m_.setValue(i);
            m_.Click.raise(i);
            syncName();
        });
    }
    void syncAll() override {
        Binder::syncAll();
        sync(Property::Pages);
        sync(Property::Value);
    }
    void sync(Property what) override {
        if (what == Property::Pages) {
            updating_ = true;
            while (w_->count() < m_.PageCount()) {
                auto* page = new QWidget;
                page->setObjectName(q(m_.objectName() + ":" + std::to_string(w_->count())));
                w_->addTab(page, QString());
            }
            for (int i = 0; i < m_.PageCount(); ++i) {
                w_->setTabText(i, q(m_.page(i).Caption));
                w_->setTabToolTip(i, q(m_.page(i).ToolTipText));
                w_->setTabVisible(i, m_.page(i).Visible);
                w_->setTabEnabled(i, m_.page(i).Enabled);
            }
            updating_ = false;
            syncName();
        } else if (what == Property::Value) {
            updating_ = true;
            if (m_.Value() >= 0 && m_.Value() < w_->count()) w_->setCurrentIndex(m_.Value());
            updating_ = false;
            syncName();
        } else {
            Binder::sync(what);
        }
    }

protected:
    // The page shown is what the control shows.
    QString caption() const override {
        const int i = w_->currentIndex();
        return i >= 0 && i < m_.PageCount() ? q(m_.page(i).Caption) : QString();
    }

private:
    MultiPage& m_;
    QTabWidget* w_;
};

}  // namespace

std::unique_ptr<Binder> bindPages(MultiPage& m, QWidget* parent) {
    return std::make_unique<PagesBinder>(m, new QTabWidget(parent));
}

}  // namespace tarvolin
