#pragma once

#include "toolbars/TEnumSet.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;
class TCustomToolWindowKit;
class TDockKit;

// Types shared by the docks and tool windows, and the saving and loading of tool-window places.

// The library's enumerations and their sets live in tbk, so that their short enumerator names
// cannot clash with a program's own; the classes keep their own names.
namespace tbk {

enum TDockPosition { dpTop, dpBottom, dpLeft, dpRight };
using TDockableTo = TEnumSet<TDockPosition>;

enum TDockType { dtNotDocked, dtTopBottom, dtLeftRight };

enum TToolWindowDockMode { dmCanFloat, dmCannotFloat, dmCannotFloatOrChangeDocks };

enum TDragHandleStyle { dhDouble, dhNone, dhSingle };

enum TToolWindowFloatingMode { fmOnTopOfParentForm, fmOnTopOfAllForms };

// The sizing zones of a floating frame, in the order of the system's hit-test codes 10 to 17.
enum TToolWindowSizeHandle {
    twshLeft,
    twshRight,
    twshTop,
    twshTopLeft,
    twshTopRight,
    twshBottom,
    twshBottomLeft,
    twshBottomRight
};

enum TToolWindowNCRedrawWhatElement { twrdBorder, twrdCaption, twrdCloseButton };
using TToolWindowNCRedrawWhat = TEnumSet<TToolWindowNCRedrawWhatElement>;

enum TDockBoundLinesValues { blTop, blBottom, blLeft, blRight };
using TDockBoundLines = TEnumSet<TDockBoundLinesValues>;

enum TBorderStyle { bsNone, bsSingle };

}  // namespace tbk

struct TToolWindowParams {
    bool CallAlignControls = true;
    bool ResizeEightCorner = true;  // eight sizing zones instead of four
    bool ResizeClipCursor = true;   // keep the cursor on the primary work area while sizing
};

tbk::TDockType GetDockTypeOf(const TDockKit* Dock);

// The form a tool window belongs to: the top-level widget above it, or, while it floats, the
// form its floating host belongs to. Null when there is none.
QWidget* GetToolWindowParentForm(const TCustomToolWindowKit* ToolWindow);
// As GetToolWindowParentForm; throws EInvalidOperation naming the control when there is none.
QWidget* ValidToolWindowParentForm(const TCustomToolWindowKit* ToolWindow);

// The side of the dock that holds the tool window around Control, if it is docked.
std::optional<tbk::TDockPosition> ToolWindowDockPositionOf(const QWidget* Control);

// Callbacks through which tool-window places are read and written: (ToolbarName, Value name,
// Default) and (ToolbarName, Value name, Data).
using TPositionReadIntProc = std::function<int(const QString&, const QString&, int)>;
using TPositionReadStringProc =
    std::function<QString(const QString&, const QString&, const QString&)>;
using TPositionWriteIntProc = std::function<void(const QString&, const QString&, int)>;
using TPositionWriteStringProc =
    std::function<void(const QString&, const QString&, const QString&)>;

// Tool windows and docks are found among Form's descendants and known by their object names.
// Saving throws EInvalidOperation for a tool window, or a dock that allows dragging, without a
// name; the values written before it stay written.
void CustomLoadToolbarPositions(QWidget* Form, const TPositionReadIntProc& ReadIntProc,
                                const TPositionReadStringProc& ReadStringProc);
void CustomSaveToolbarPositions(QWidget* Form, const TPositionWriteIntProc& WriteIntProc,
                                const TPositionWriteStringProc& WriteStringProc);
// One ini file; one section per tool window, named SectionNamePrefix + its name, exactly. Saving
// rewrites only those values and keeps the rest of the file; file errors throw EIniFileError.
void IniLoadToolbarPositions(QWidget* Form, const QString& Filename,
                             const QString& SectionNamePrefix);
void IniSaveToolbarPositions(QWidget* Form, const QString& Filename,
                             const QString& SectionNamePrefix);
