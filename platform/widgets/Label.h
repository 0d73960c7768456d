#pragma once

#include "platform/widgets/GraphicControl.h"

enum TAlignment : unsigned char { taLeftJustify, taRightJustify, taCenter };

// A static text drawn with the platform's text calls, so its font renders exactly as
// the logo text does. An auto-sized label takes the extent of its caption.
class TLabel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int Alignment READ AlignmentProperty WRITE SetAlignmentProperty)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(qlonglong Color READ ColorProperty WRITE SetColorProperty)

public:
    explicit TLabel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
    QString ShownText() const override { return Caption(); }

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustBounds();
    int AlignmentProperty() const { return FAlignment; }
    void SetAlignmentProperty(int alignment) { SetAlignment(static_cast<TAlignment>(alignment)); }
    qlonglong ColorProperty() const { return FColor; }
    void SetColorProperty(qlonglong color) { SetColor(static_cast<TColor>(color)); }

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = false;
    TColor FColor = clBtnFace;
};
