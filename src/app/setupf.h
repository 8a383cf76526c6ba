// The background window: a screen-filling backdrop with the product's title
// behind the setup window. It has no handlers of its own: its wallpaper,
// its five shadowed labels and its painted title bar all come from its form
// data.
#pragma once

#include "ui/form.h"

namespace app {

class TForm1 : public ui::TForm {
    QUARNEL_COMPONENT(TForm1, ui::TForm)
public:
    void Create() { CreateFromResource("BACKGROUNDFORM"); }
};

}  // namespace app
