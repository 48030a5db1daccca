#include "gui/program_views.h"

#include <QApplication>

#include "app/program.h"

namespace tarvolin {

std::vector<std::unique_ptr<FormView>> createViews(Program& p) {
    // The windows, their menus and the dialogs draw in the program's font.
    QApplication::setFont(programFont());
    std::vector<std::unique_ptr<FormView>> views;
    views.push_back(std::make_unique<FormView>(p.Form1, "Form1"));
    views.push_back(std::make_unique<FormView>(p.Form2, "Form2"));
    views.push_back(std::make_unique<FormView>(p.Form3, "Form3"));
    views.push_back(std::make_unique<FormView>(p.Form4, "Form4"));
    views.push_back(std::make_unique<FormView>(p.Form5, "Form5"));
    views.push_back(std::make_unique<FormView>(p.frmSplash, "frmSplash"));
    return views;
}

FormView* viewOf(const std::vector<std::unique_ptr<FormView>>& views, const Form& form) {
    for (auto& v : views)
        if (&v->form() == &form) return v.get();
    return nullptr;
}

}  // namespace tarvolin
