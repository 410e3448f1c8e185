#include "desktop/editor/EditorSeams.h"

EditorSeams& InstalledEditorSeams() {
    static EditorSeams seams;
    return seams;
}
