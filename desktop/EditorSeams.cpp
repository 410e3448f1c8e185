#include "desktop/EditorSeams.h"

EditorSeams& InstalledEditorSeams() {
    static EditorSeams seams;
    return seams;
}
