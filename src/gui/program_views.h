#pragma once
// The windows of a whole program: one view per form, named as the program
// names its forms. Destroy them before the Program (their video widgets
// free their render contexts before the players' mpv handles go).
#include <memory>
#include <vector>

#include "gui/form_view.h"

namespace tarvolin {

class Program;

std::vector<std::unique_ptr<FormView>> createViews(Program& program);

// The view of a form among views (null when none).
FormView* viewOf(const std::vector<std::unique_ptr<FormView>>& views, const Form& form);

}  // namespace tarvolin
