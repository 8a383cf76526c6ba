#pragma once

namespace app {

// Makes every component class that the form data names known to the loader.
void RegisterClasses();

}  // namespace app
