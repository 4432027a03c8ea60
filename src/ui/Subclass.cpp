#include "ui/Subclass.h"

#include "ui/Application.h"

namespace ui::detail {

void ReportWatchException() {
    Application::HandleCurrentException();
}

} // namespace ui::detail
