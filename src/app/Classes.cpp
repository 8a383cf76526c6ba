#include "app/Classes.h"

#include "controls/CheckListBox.h"
#include "controls/DirectoryEdit.h"
#include "controls/Gauge.h"
#include "controls/GradientCaption.h"
#include "controls/PleximoWallpaper.h"
#include "controls/ShadowLabel.h"
#include "controls/StringHolder.h"
#include "ui/form.h"
#include "ui/menus.h"

namespace app {

void RegisterClasses() {
    ui::RegisterStandardClasses();
    ui::RegisterMenuClasses();
    controls::RegisterStringHolderClass();
    controls::RegisterCheckListBoxClass();
    controls::RegisterGaugeClass();
    controls::RegisterDirectoryEditClass();
    controls::RegisterPleximoWallpaperClass();
    controls::RegisterShadowLabelClass();
    controls::RegisterGradientCaptionClass();
}

}  // namespace app
