#pragma once
// Finds the texts of a shown window that its controls cut: a caption wider
// or taller than the area its control draws it in, a control that sticks out
// of its container, a text that a control stacked above it covers, a page
// tab or menu title that is not shown whole.
#include <string>
#include <vector>

class QWidget;

namespace tarvolin::testing {

// One line per cut text: the control's name, the text, and why.
std::vector<std::string> cutTexts(QWidget* window);

}  // namespace tarvolin::testing
