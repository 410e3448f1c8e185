#pragma once

#include <QWidget>
#include <memory>

class Graphics3D;
class Net3D;
class QComboBox;
class QPushButton;
class SurfaceBox;
class TMDIChild;

// The control surface of a test window's rule base: the first output over two chosen inputs,
// sampled on a square grid and drawn as a net the user turns with the mouse. A window of its
// own, kept on top, that opens beside its test window and closes with it.
class TFormSurface : public QWidget {
    Q_OBJECT

  public:
    // testWindow is also the owner, so that the surface never outlives its samples' source.
    // Samples the surface once.
    explicit TFormSurface(TMDIChild& testWindow);
    ~TFormSurface() override;

    // Samples the net again; a failure is reported and leaves the net as it was.
    void Recompute();
    const Net3D& Net() const;
    Graphics3D& Renderer() const;
    // 1, 2 or 3: the axis picked by the last press.
    int RotationAxis() const;
    bool IsDragging() const;

    QComboBox* cbxVar1 = nullptr;
    QComboBox* cbxVar2 = nullptr;
    QComboBox* cbxSteps = nullptr;
    QPushButton* btRecount = nullptr;
    SurfaceBox* pbxSurface = nullptr;

  private:
    void FormCreate();
    void PlaceBesideTestWindow();
    void btRecountClick();
    void cbxStepsChange();
    void cbxVar1Change(int index);
    void cbxVar2Change(int index);
    void pbxSurfaceMouseDown(QPoint point);
    void pbxSurfaceMouseMove(QPoint point);
    void pbxSurfaceMouseUp();
    void Rotate();

    struct Private;
    std::unique_ptr<Private> d_;
};
