#include "app/Classes.h"

#include "controls/CheckListBox.h"
#include "controls/Gauge.h"
#include "controls/DirectoryEdit.h"
#include "controls/StringHolder.h"
#include "ui/form.h"

namespace app {

void RegisterClasses() {
    ui::RegisterStandardClasses();
    controls::RegisterStringHolderClass();
    controls::RegisterCheckListBoxClass();
    controls::RegisterGaugeClass();
    controls::RegisterDirectoryEditClass();
}

}  // namespace app
