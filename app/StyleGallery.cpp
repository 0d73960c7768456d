#include "app/StyleGallery.h"

#include "composer/StoredParams.h"
#include "components/settings/IniGT.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/base/Exception.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <new>

namespace {

constexpr int ErrorRole = Qt::UserRole;

QIcon BlankTile()
{
    QPixmap pixmap(1, 1);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

} // namespace

TStyleGallery::TStyleGallery(TIniGT& ini, QWidget* parent)
    : QWidget(parent, Qt::Window), FIni(ini)
{
    setWindowTitle(Tr("スタイル一覧"));
    FList = new QListWidget(this);
    FList->setViewMode(QListView::IconMode);
    FList->setMovement(QListView::Static);
    FList->setResizeMode(QListView::Adjust);
    FList->setUniformItemSizes(true);
    FList->setWordWrap(true);
    FList->setIconSize(QSize(TileWidth, TileHeight));
    FList->setGridSize(QSize(TileWidth + 16, TileHeight + 48));
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FList);
    resize(3 * (TileWidth + 16) + 40, 4 * (TileHeight + 48) + 8);
    // Activation is a double-click or Enter.
    connect(FList, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (OnApply)
            OnApply(FList->row(item));
    });
    FTimer = new QTimer(this);
    FTimer->setInterval(0);
    connect(FTimer, &QTimer::timeout, this, [this] { BuildSlice(); });
}

TStyleGallery::~TStyleGallery() = default;

void TStyleGallery::SetCurrentStyle(int index)
{
    if (index >= 0 && index < FList->count())
        FList->setCurrentRow(index);
    FList->setFocus();
}

// Escape closes the gallery as it closes a dialog; the list leaves it to the window.
void TStyleGallery::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

int TStyleGallery::TileCount() const
{
    return FList->count();
}

QString TStyleGallery::TileError(int index) const
{
    const QListWidgetItem* item = FList->item(index);
    return item ? item->data(ErrorRole).toString() : QString();
}

void TStyleGallery::SetStyles(const QStringList& styles)
{
    if (styles == FStyles && FList->count() == styles.size())
        return;
    FStyles = styles;
    Restart();
}

void TStyleGallery::SetBase(const TLogoParams& base)
{
    const bool newText = base.Text != FBase.Text;
    FBase = base;
    if (newText)
        Restart();
}

void TStyleGallery::StyleStored(const QString& name)
{
    for (int index = 0; index < FStyles.size(); ++index) {
        if (TStoredParams::FindStyle({FStyles[index]}, name) == 0
            && std::find(FQueue.begin(), FQueue.end(), index) == FQueue.end()) {
            FQueue.push_back(index);
            --FBuilt;
        }
    }
    FSnapshot.Forget();
    if (!FQueue.empty())
        FTimer->start();
}

// Tiles keep their names in place at once; a tile keeps its old logo until its new
// one is built, so the grid does not flash while it follows a change.
void TStyleGallery::Restart()
{
    while (FList->count() > FStyles.size())
        delete FList->takeItem(FList->count() - 1);
    for (int index = 0; index < FStyles.size(); ++index) {
        QListWidgetItem* item = FList->item(index);
        if (!item) {
            item = new QListWidgetItem(BlankTile(), QString(), FList);
            item->setSizeHint(FList->gridSize());
        }
        item->setText(FStyles[index]);
    }
    FQueue.clear();
    FSnapshot.Forget();
    for (int index = 0; index < FStyles.size(); ++index)
        FQueue.push_back(index);
    FBuilt = 0;
    if (!FQueue.empty())
        FTimer->start();
}

void TStyleGallery::BuildSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (!FQueue.empty() && slice.elapsed() < SliceMilliseconds) {
        const int index = FQueue.front();
        FQueue.pop_front();
        BuildTile(index);
        ++FBuilt;
    }
    if (FQueue.empty())
        FTimer->stop();
}

void TStyleGallery::BuildTile(int index)
{
    QListWidgetItem* item = FList->item(index);
    if (!item)
        return;
    const QString& name = FStyles[index];
    QString error;
    try {
        if (!FSnapshot.Taken())
            FSnapshot.Take(FIni.FullPath(), FIni.Fence(), FStyles);
        TLogoParams params = FBase;
        FSnapshot.Read(index, FBase.Text, params);
        params.Text = FBase.Text;
        TLogoLayers layers;
        TLogoComposer::Compose(params, layers);
        QImage logo = BitmapImageCopy(layers.Composite);
        if (logo.width() > TileWidth || logo.height() > TileHeight)
            logo = logo.scaled(TileWidth, TileHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        item->setIcon(logo.isNull() ? BlankTile() : QIcon(QPixmap::fromImage(logo)));
    } catch (const Exception& failure) {
        error = failure.Message();
    } catch (const std::bad_alloc&) {
        error = Tr("メモリが足りません");
    }
    item->setData(ErrorRole, error);
    item->setToolTip(error.isEmpty() ? name : error);
    item->setText(error.isEmpty() ? name : name + u'\n' + error);
    item->setForeground(error.isEmpty() ? FList->palette().text() : QBrush(Qt::darkRed));
    if (!error.isEmpty())
        item->setIcon(BlankTile());
}
