#include "platform/widgets/BitmapImage.h"
#include "Form1TestSupport.h"

#include "components/widgets/IniGTComponent.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/QtText.h"
#include "platform/base/UnicodeText.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

void Form1Fixture::SetUp()
{
    ASSERT_TRUE(FFolder.isValid());
    TForm1::InitializeApplication();
    TApplication::Instance().OnException = [this](const QString& message) { FErrors << message; };
}

void Form1Fixture::TearDown()
{
    FForm.reset();
}

QString Form1Fixture::ProgramFile() const
{
    return FFolder.filePath(QStringLiteral("vezodev"));
}

QString Form1Fixture::SettingsPath() const
{
    return FFolder.filePath(QStringLiteral("Vezodev.ini"));
}

QByteArray Form1Fixture::Settings() const
{
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Form1Fixture::WriteSettings(const QByteArray& bytes)
{
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString Form1Fixture::Read(const char* section, const char* key) const
{
    return ToQString(FForm->IniGT->ReadString(Utf8ToText(section), Utf8ToText(key), u"<none>"));
}

TForm1& Form1Fixture::Open()
{
    FForm = std::make_unique<TForm1>(nullptr, ProgramFile());
    FForm->show();
    QCoreApplication::processEvents();
    return *FForm;
}

void Form1Fixture::AddStyle(TForm1& form, const QString& name)
{
    MessageAnswerer = [name](TMessageRequest& request) {
        request.EditText = name;
        return true;
    };
    form.MmAdd->trigger();
}

void Form1Fixture::SaveAs(TForm1& form, const QString& path)
{
    TSaveDialog::Answerer = [path](TSaveDialog& dialog) {
        dialog.SetFileName(path);
        return true;
    };
    form.BtSave->click();
}

void Form1Fixture::Choose(TForm1& form, int index)
{
    form.CbStyle->setCurrentIndex(index);
    emit form.CbStyle->activated(index);
}

void Form1Fixture::ClickCell(TManyBtn& button, int cell, Qt::MouseButton mouseButton)
{
    const int cols = button.Cols();
    const int rows = (button.Cells() - 1) / cols + 1;
    const int cellWidth = button.Width() / cols;
    const int cellHeight = button.Height() / rows;
    const QPointF at((cell - 1) % cols * cellWidth + cellWidth / 2, (cell - 1) / cols * cellHeight + cellHeight / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, button.mapToGlobal(at), mouseButton, mouseButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button.mapToGlobal(at), mouseButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &release);
}

void Form1Fixture::ExpectConsistent(TForm1& form)
{
    const TLogoParams params = form.CurrentParams();
    const TSize size = TLogoComposer::LogoSize(params);
    TLogoLayers layers;
    TLogoComposer::Compose(params, layers);
    const TBitmap& composite = layers.Composite;
    EXPECT_EQ(form.windowTitle(), TForm1::SizeCaption(size.Width, size.Height));
    // A margin typed below zero can make a side negative; the panes are then empty. The
    // window grows with the logo up to what its screen holds with its frame.
    const QSize natural(std::max(size.Width, 0) + 216, std::max(253, 3 * std::max(size.Height, 0) + 24));
    const QSize room = form.screen()->availableGeometry().size() - (form.frameGeometry().size() - form.size());
    EXPECT_EQ(form.size(), natural.boundedTo(room));
    EXPECT_TRUE(BitmapImageCopy(form.Img->Picture()) == BitmapImageCopy(composite)) << "the composite differs from the composer's";
}
