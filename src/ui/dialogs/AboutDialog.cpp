#include "ui/dialogs/AboutDialog.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>

#include "ui/widgets/CaptionFit.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/ProgramVersion.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/CaptionButton.h"

namespace {

constexpr int ClientWidth = 4875;
constexpr int ClientHeight = 4590;
constexpr qreal DesignPointSize = 8.0;

const char* const VersionText = VersionCaption;
const char* const CopyrightText = "\xA9 2026 The KorvoScreenQuill authors";

QLabel* Picture(QWidget* parent, const char* name, const QString& resource, const QRect& geometry) {
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setGeometry(geometry);
    // The picture is stretched to the control, whatever its own size.
    image->setScaledContents(true);
    image->setPixmap(QPixmap(resource));
    return image;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAboutQuill"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(FromCodePage("About Quill"));
    QFont font = this->font();
    font.setPointSizeF(DesignPointSize);
    setFont(font);
    setFixedSize(TwipsToPixels(ClientWidth), TwipsToPixels(ClientHeight));

    labAbout = new QLabel(FromCodePage("Dynamically Filled in Load()"), this);
    labAbout->setObjectName(QStringLiteral("labAbout"));
    labAbout->setGeometry(TwipsRect(360, 720, 3855, 855));
    labAbout->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    labAbout->setWordWrap(true);
    labAbout->setTextFormat(Qt::PlainText);

    Image1 = Picture(this, "Image1", QStringLiteral(":/about/QuillLogo.jpg"),
                     TwipsRect(1560, 2040, 1455, 1335));
    Image2 = Picture(this, "Image2", QStringLiteral(":/about/QuillPortrait.jpg"),
                     TwipsRect(1560, 1800, 1455, 1695));
    Image2->hide();
    Image1->installEventFilter(this);
    Image2->installEventFilter(this);

    butOK = new CaptionButton(FromCodePage("OK"), this);
    butOK->setObjectName(QStringLiteral("butOK"));
    butOK->setGeometry(TwipsRect(1680, 3720, 1215, 375));
    butOK->setDefault(true);
    connect(butOK, &QPushButton::clicked, this, &AboutDialog::dismiss);

    Form_Load();
}

void AboutDialog::Form_Load() {
    labAbout->setText(FromCodePage(std::string(VersionText) + "\n\n" + CopyrightText));
    FitCaptions(*this);
    setModal(false);
    show();
}

void AboutDialog::Image1_DblClick() {
    Image1->hide();
    Image2->show();
}

void AboutDialog::Image2_DblClick() {
    Image2->hide();
    Image1->show();
}

void AboutDialog::dismiss() {
    close();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Image1) {
            Image1_DblClick();
            return true;
        }
        if (watched == Image2) {
            Image2_DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
