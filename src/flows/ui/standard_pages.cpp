#include "flows/ui/standard_pages.h"

#include "buttons/ui/buttons_page.h"
#include "buttons/ui/function_menus.h"
#include "config/ui/engineering_page.h"
#include "fire/ui/fire_page.h"
#include "macros/ui/macro_page.h"
#include "settings/ui/advanced_page.h"
#include "settings/ui/light_page.h"

namespace velq::ui {

std::vector<std::unique_ptr<WindowPart>> StandardPages(MainWindow& window) {
    std::vector<std::unique_ptr<WindowPart>> parts;
    parts.push_back(std::make_unique<ButtonsPage>(window));
    parts.push_back(std::make_unique<AdvancedPage>(window));
    parts.push_back(std::make_unique<LightPage>(window));
    parts.push_back(std::make_unique<MacroPage>(window));
    parts.push_back(std::make_unique<FirePage>(window));
    parts.push_back(std::make_unique<EngineeringPage>(window));
    // The menus lie on the first page.
    parts.push_back(std::make_unique<FunctionMenus>(window, parts.front()->container()));
    return parts;
}

WindowServices WithStandardPages(WindowServices services) {
    services.parts = StandardPages;
    return services;
}

}  // namespace velq::ui
