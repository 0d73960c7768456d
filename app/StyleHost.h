#pragma once

#include <string>

class QComboBox;
class QWidget;
class TIniGT;
class TStyleGallery;
struct TLogoParams;

// What the style list needs of the window that holds it: the drop-down box, the
// settings store, the logo parameters the controls hold, and the open gallery.
class TStyleHost {
public:
    // The window the style list's questions are asked over.
    virtual QWidget* DialogParent() = 0;
    virtual QComboBox& StyleBox() = 0;
    virtual TIniGT& Settings() = 0;
    virtual TLogoParams CurrentParams() const = 0;
    // Puts the parameters into the controls and builds the logo.
    virtual void ApplyParams(const TLogoParams& params) = 0;
    // The text a style without one takes.
    virtual std::u16string DefaultText() const = 0;
    // The open style gallery, or null.
    virtual TStyleGallery* StyleGallery() const = 0;

protected:
    ~TStyleHost() = default;
};
