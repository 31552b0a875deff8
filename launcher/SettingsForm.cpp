#include "SettingsForm.h"

namespace launcher {

Form2& Form2::Instance() {
    static Form2 form;
    return form;
}

void Form2::Show() {}

}  // namespace launcher
