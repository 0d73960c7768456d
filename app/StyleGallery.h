#pragma once

#include "composer/LogoComposer.h"
#include "app/StyleSnapshot.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QTimer;
class TIniGT;

// A window showing every stored style drawn with the current text, in a scrolling
// grid with each style's name under its logo. It opens at once and fills in while
// the logos are built on the user-interface thread in short slices between events,
// so the window stays responsive however many styles there are. A style whose
// section cannot be read shows the error's text in place of its logo. A double-click
// or Enter on a tile asks the owner, through OnApply, to choose that style.
class TStyleGallery : public QWidget {
    Q_OBJECT

public:
    static constexpr int TileWidth = 240;
    static constexpr int TileHeight = 72;
    static constexpr int SliceMilliseconds = 8;

    // A style is read over the base parameters the owner gives, as choosing it reads
    // it over the window's, and drawn with the base's text.
    TStyleGallery(TIniGT& ini, QWidget* parent);
    ~TStyleGallery() override;

    // The styles by name, in list order; a different list builds every tile again.
    void SetStyles(const QStringList& styles);
    // A different text builds every tile again; other parameters are taken for the
    // tiles built from then on.
    void SetBase(const TLogoParams& base);
    // The section of name has been written: its tile is built again.
    void StyleStored(const QString& name);

    int TileCount() const;
    // Tiles whose logo or error is in place for the current styles and text.
    int BuiltCount() const { return FBuilt; }
    bool Finished() const { return FQueue.empty(); }
    // The error shown by a tile, empty for a logo.
    QString TileError(int index) const;
    QListWidget* List() const { return FList; }
    // Puts the keyboard on the tile at index, the list's current style.
    void SetCurrentStyle(int index);

    // Called with the style's position in the list.
    std::function<void(int index)> OnApply;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Restart();
    void BuildSlice();
    void BuildTile(int index);

    TIniGT& FIni;
    QListWidget* FList = nullptr;
    QTimer* FTimer = nullptr;
    QStringList FStyles;
    TLogoParams FBase;
    std::deque<int> FQueue; // tiles still to build, first first
    TStyleSnapshot FSnapshot; // taken when the first tile after a change is built
    int FBuilt = 0;
};
