// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/dialogparts.h"

#include <QDialog>
#include <QFontMetrics>
#include <QCoreApplication>
#include <QPushButton>
#include <QStringList>

namespace DialogParts {

namespace {
// Widths of the buttons, in pixels.
constexpr int kButtonWidth = 75;
constexpr int kBrowseWidth = 28;
} // namespace

void SetDialogFrame(QDialog *dialog)
{
    dialog->setWindowFlags((dialog->windowFlags() | Qt::WindowCloseButtonHint) & ~Qt::WindowContextHelpButtonHint);
}

QPushButton *OkButton(QWidget *parent)
{
    auto *button = new QPushButton(QCoreApplication::translate("DialogParts", "OK"), parent);
    button->setObjectName(QStringLiteral("okButton"));
    button->setDefault(true);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

QPushButton *CancelButton(QWidget *parent)
{
    auto *button = new QPushButton(QCoreApplication::translate("DialogParts", "Cancel"), parent);
    button->setObjectName(QStringLiteral("cancelButton"));
    button->setAutoDefault(false);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

QPushButton *BrowseButton(QWidget *parent, const QString &accessibleName)
{
    auto *button = new QPushButton(QStringLiteral("..."), parent);
    button->setAccessibleName(accessibleName);
    button->setObjectName(QStringLiteral("browseButton"));
    button->setAutoDefault(false);
    button->setFixedWidth(kBrowseWidth);
    return button;
}

void CentreOver(QWidget *dialog, const QWidget *owner)
{
    if (!owner || !owner->isVisible())
        return;
    dialog->adjustSize();
    // Frame to frame, once the window system has framed the dialog.
    dialog->move(dialog->pos() + owner->frameGeometry().center() - dialog->frameGeometry().center());
}

int ExecOver(QDialog *dialog, QWidget *owner)
{
    CentreOver(dialog, owner);
    const int result = dialog->exec();
    if (owner && owner->isVisible())
        owner->activateWindow();
    return result;
}

QString WrapText(const QString &text, const QFontMetrics &metrics, int width)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<QStringList> lines;
    for (const QString &word : words) {
        if (!lines.isEmpty()) {
            const QString longer = (lines.last() + QStringList{word}).join(QLatin1Char(' '));
            if (metrics.horizontalAdvance(longer) <= width) {
                lines.last().append(word);
                continue;
            }
        }
        lines.append(QStringList{word});
    }
    if (lines.size() >= 2 && lines.last().size() == 1 && lines.at(lines.size() - 2).size() >= 2) {
        QStringList &before = lines[lines.size() - 2];
        const QString pair = before.last() + QLatin1Char(' ') + lines.last().constFirst();
        if (metrics.horizontalAdvance(pair) <= width)
            lines.last().prepend(before.takeLast());
    }
    QStringList joined;
    for (const QStringList &line : lines)
        joined.append(line.join(QLatin1Char(' ')));
    return joined.join(QLatin1Char('\n'));
}

} // namespace DialogParts
