#pragma once

#include "platform/widgets/Events.h"

class QObject;
class QPoint;
enum TColumnEnd : unsigned char;

// The main window's handlers, as its controls, menus, timer and keys call them.
class TMainFormHandlers {
public:
    virtual void Edit1KeyPress(char16_t& key) = 0;
    virtual void EdHsChange(QObject* sender) = 0;
    virtual void MbTextMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MbColorMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MbGraMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MbMixMouseDown(QObject* sender, TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void SpeedButton3Click() = 0;
    virtual void PboxPaint() = 0;
    virtual void GboxPaint(QObject* sender) = 0;
    virtual void BtSaveClick() = 0;
    virtual void BtCopyClick() = 0;
    virtual void Timer1Timer() = 0;
    virtual void CbStyleChange() = 0;
    virtual void MmAddClick() = 0;
    virtual void MmDelClick() = 0;
    virtual void MmSmoothClick() = 0;
    virtual void MmEffectsClick() = 0;
    virtual void MmGalleryClick() = 0;
    virtual void ImgContextMenu(const QPoint& at) = 0;
    virtual void StyleContextMenu(const QPoint& at) = 0;
    virtual void ScrollPanes(TColumnEnd end) = 0;

protected:
    ~TMainFormHandlers() = default;
};
