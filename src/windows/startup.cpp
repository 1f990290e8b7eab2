#include "windows/startup.h"

#include "windows/fonts.h"
#include "windows/pictureaccessible.h"

void prepareApplication() {
    installFontSubstitutions();
    installAccessibleInterfaces();
}
