// The library's one static initialiser, run by the loader when it maps the plug-in.
#include "entry/install.h"

__attribute__((constructor)) static void veyLoaded() {
    initialiseVey();
}
