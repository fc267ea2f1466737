#pragma once

class QComboBox;

namespace velq::ui {

// A combo box's pop-up list is a window of its own, which takes the desktop's colours rather
// than the page's (white on the dark skin). From here on the list wears the combo box's
// colours, now and whenever the combo box's change (a layout step, the page's palette).
void PopupFollowsCombo(QComboBox& combo);

}  // namespace velq::ui
