#pragma once

// What the test window asks of the editor window that opened it. The editor's methods and
// filter switch follow the test window's, and its editing is off while the test window is open.
class TestWindowOwner {
  public:
    virtual ~TestWindowOwner() = default;

    virtual void SetEditingEnabled(bool enabled) = 0;
    // Rows of the editor's method combos, which list the methods in the test window's order.
    virtual void SetInferenceMethodIndex(int index) = 0;
    virtual void SetDefuzzificationMethodIndex(int index) = 0;
    virtual void SetFuzzyFilterChecked(bool checked) = 0;
    // The main window's Save command follows the active window.
    virtual void UpdateSaveState() = 0;
};
