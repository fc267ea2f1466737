#pragma once

// Helpers the files of the main window share; not for use elsewhere.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string_view>
#include <vector>

namespace velq::ui::detail {

QString ToQString(std::string_view text);
// A colour of the layout texts: R + 256 G + 65536 B.
QColor ColourOf(uint32_t value);
// `base` in the caption font of language `language`'s table, whose `FontName` is `font_name`,
// as the window and its controls take it.
QFont CaptionFont(QFont base, int language, std::string_view font_name);
// Controls that exist before any layout names them: state radios, the key-mode list, the
// status line, the covers and the pictures whose state the navigation changes.
std::vector<QString> FixedControlNames();

}  // namespace velq::ui::detail
