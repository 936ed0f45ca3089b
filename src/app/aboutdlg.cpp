// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/aboutdlg.h"

#include "app/editorapp.h"
#include "app/mainframe.h"
#include "core/product.h"
#include "core/uitext.h"
#include "editor/dialogparts.h"

#include <QMouseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const UiText kTitle{"CAboutDlg", QT_TRANSLATE_NOOP("CAboutDlg", "About Quarn BASIC Editor")};
const QString kAuthor = QStringLiteral("The Quarn BASIC Editor authors");
const QString kArtistMail = QStringLiteral("logo@quarnbasic.example.org");
const UiText kAboutText{"CAboutDlg",
                        QT_TRANSLATE_NOOP("CAboutDlg", "Quarn BASIC, its logo and the editor: Copyright (c) 2026\n"
                                                       "The Quarn BASIC Editor authors. All rights reserved.\n"
                                                       "\n"
                                                       "Free for everybody who uses the Quarn BASIC compiler.\n"
                                                       "It comes without any guarantee or warranty of any kind.\n"
                                                       "\n"
                                                       "Please report faults to bugs@quarnbasic.example.org.\n"
                                                       "Thanks to the artist who drew the logo and the icons.")};

// Where the strings are painted, in pixels of the dialog's client area.
constexpr int kTextLeft = 140;
constexpr int kTitleTop = 8;
constexpr int kCreditTops[] = {55, 73, 102, 120};

// Sizes of the dialog's arrangement, in pixels.
constexpr int kMargin = 9;
constexpr int kDialogWidth = 429;
constexpr int kLogoWidth = 126;
constexpr int kLogoHeight = 127;
constexpr int kTextBoxTop = 146;
constexpr int kTextBoxHeight = 127;

QFont PointFont(const QStringList &families, int pointSize, QFont::Weight weight)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSize(pointSize);
    font.setWeight(weight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
} // namespace

QFont CAboutDlg::TitleFont()
{
    // Impact is heavy by itself; a stand-in has to be made bold to look alike.
    if (QFontDatabase::hasFamily(QStringLiteral("Impact")))
        return PointFont({QStringLiteral("Impact")}, 20, QFont::Normal);
    return PointFont({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
                      QStringLiteral("DejaVu Sans Condensed")},
                     20, QFont::Bold);
}

QColor CAboutDlg::FaceColor()
{
    return QColor(0xf0, 0xf0, 0xf0);
}

QFont CAboutDlg::CreditFont()
{
    return PointFont({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")}, 10,
                     QFont::Bold);
}

QList<CAboutDlg::PaintedLine> CAboutDlg::PaintedLines()
{
    const QFont title = TitleFont();
    const QFont credit = CreditFont();
    const QColor black(0, 0, 0);
    return {
        {Product::Title(), title, QColor(255, 0, 0), QPoint(kTextLeft, kTitleTop), QString()},
        {tr("by %1").arg(kAuthor), credit, black, QPoint(kTextLeft, kCreditTops[0]), QString()},
        {tr("Logo by %1").arg(kArtistMail), credit, black, QPoint(kTextLeft, kCreditTops[1]), QString()},
        {tr("Visit %1").arg(CEditorApp::HomepageUrl()), credit, black, QPoint(kTextLeft, kCreditTops[2]),
         CEditorApp::HomepageUrl()},
        {tr("Visit %1").arg(CEditorApp::SiteUrl()), credit, black, QPoint(kTextLeft, kCreditTops[3]),
         CEditorApp::SiteUrl()},
    };
}

QRect CAboutDlg::LineRect(const PaintedLine &line)
{
    const QFontMetrics metrics(line.font);
    return QRect(line.topLeft, QSize(metrics.horizontalAdvance(line.text), metrics.height()));
}

namespace {
// The web page of the painted line at point; empty where no link line is.
QString LinkAt(const QPoint &point)
{
    const QList<CAboutDlg::PaintedLine> lines = CAboutDlg::PaintedLines();
    for (const CAboutDlg::PaintedLine &line : lines) {
        if (!line.link.isEmpty() && CAboutDlg::LineRect(line).contains(point))
            return line.link;
    }
    return QString();
}
} // namespace

void CAboutDlg::mouseMoveEvent(QMouseEvent *event)
{
    const QString link = LinkAt(event->position().toPoint());
    setCursor(link.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
    setToolTip(link);
    QDialog::mouseMoveEvent(event);
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent *event)
{
    const QString link = event->button() == Qt::LeftButton ? LinkAt(event->position().toPoint()) : QString();
    if (!link.isEmpty())
        CEditorApp::OpenWebPage(link);
    QDialog::mouseReleaseEvent(event);
}

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent), m_strText(kAboutText)
{
    setWindowTitle(kTitle);
    DialogParts::SetDialogFrame(this);
    setMouseTracking(true);
    // The red title and the black lines are painted on the button face; under
    // a dark desktop palette they would vanish, so the box keeps its own light
    // colours.
    QPalette colours = palette();
    const QColor black(0, 0, 0);
    colours.setColor(QPalette::Window, FaceColor());
    colours.setColor(QPalette::WindowText, black);
    colours.setColor(QPalette::Button, FaceColor());
    colours.setColor(QPalette::ButtonText, black);
    colours.setColor(QPalette::Base, QColor(255, 255, 255));
    colours.setColor(QPalette::Text, black);
    setPalette(colours);

    m_pLogo = new QLabel(this);
    m_pLogo->setObjectName(QStringLiteral("logo"));
    m_pLogo->setFixedSize(kLogoWidth, kLogoHeight);
    m_pLogo->setAlignment(Qt::AlignCenter);
    m_pLogo->setPixmap(QPixmap(DialogParts::kLogo));

    m_pTextBox = new QPlainTextEdit(this);
    m_pTextBox->setObjectName(QStringLiteral("textBox"));
    m_pTextBox->setAccessibleName(tr("Copyright notice"));
    m_pTextBox->setReadOnly(true);
    m_pTextBox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_pTextBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pTextBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pTextBox->setTabChangesFocus(true);
    m_pTextBox->setFixedHeight(kTextBoxHeight);
    m_pTextBox->setPlainText(m_strText);

    m_pOkButton = DialogParts::OkButton(this);
    connect(m_pOkButton, &QPushButton::clicked, this, &CAboutDlg::accept);

    // The painted lines need room right of the logo and above the text box
    // whatever the fonts that stand in for the wanted ones measure.
    int width = kDialogWidth;
    int bottom = kTextBoxTop;
    const QList<PaintedLine> lines = PaintedLines();
    for (const PaintedLine &line : lines) {
        const QFontMetrics metrics(line.font, this);
        width = std::max(width, line.topLeft.x() + metrics.horizontalAdvance(line.text) + kMargin);
        bottom = std::max(bottom, line.topLeft.y() + metrics.height() + kMargin);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOkButton);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(m_pLogo, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addSpacing(bottom - kMargin - kLogoHeight - layout->spacing());
    layout->addWidget(m_pTextBox);
    layout->addLayout(buttons);
    setFixedSize(width, sizeHint().height());

    setTabOrder(m_pOkButton, m_pTextBox);
    m_pOkButton->setFocus();
}

CAboutDlg::~CAboutDlg() = default;

int CAboutDlg::DoModal()
{
    return exec();
}

void CAboutDlg::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The fonts and the painter live only for this painting.
    QPainter painter(this);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(palette().color(QPalette::Button));
    const QList<PaintedLine> lines = PaintedLines();
    for (const PaintedLine &line : lines) {
        painter.setFont(line.font);
        painter.setPen(line.color);
        const QFontMetrics metrics(line.font, this);
        painter.drawText(line.topLeft + QPoint(0, metrics.ascent()), line.text);
    }
}

void CEditorApp::OnAppAbout()
{
    CAboutDlg dialog(m_pMainFrame);
    dialog.DoModal();
}
