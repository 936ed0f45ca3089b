// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/findreplacedlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QRegularExpression>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

const char *const CFindReplaceDlg::kFindTitle = "Find";
const char *const CFindReplaceDlg::kReplaceTitle = "Replace";

namespace {
const char *const kFindWhat = "Fi&nd what:";
const char *const kReplaceWith = "Re&place with:";
const char *const kWholeWord = "Match &whole word only";
const char *const kMatchCase = "Match &case";
const char *const kDirection = "Direction";
const char *const kUp = "&Up";
const char *const kDown = "&Down";
const char *const kFindNextText = "&Find Next";
const char *const kReplaceText = "&Replace";
const char *const kReplaceAllText = "Replace &All";
const char *const kCancel = "Cancel";
const char *const kRegularExpression = "Regular e&xpression";
const char *const kInvalidExpression = "Invalid regular expression: %1";
} // namespace

CFindReplaceDlg::CFindReplaceDlg(bool replace, const FindRequest &initial, QWidget *parent)
    : QDialog(parent), m_bReplace(replace)
{
    setWindowTitle(QString::fromLatin1(replace ? kReplaceTitle : kFindTitle));

    auto *fields = new QGridLayout;
    auto *findLabel = new QLabel(QString::fromLatin1(kFindWhat), this);
    m_pFindEdit = new QLineEdit(this);
    m_pFindEdit->setObjectName(QStringLiteral("findEdit"));
    findLabel->setBuddy(m_pFindEdit);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_pFindEdit, 0, 1);
    if (replace) {
        auto *replaceLabel = new QLabel(QString::fromLatin1(kReplaceWith), this);
        m_pReplaceEdit = new QLineEdit(this);
        m_pReplaceEdit->setObjectName(QStringLiteral("replaceEdit"));
        replaceLabel->setBuddy(m_pReplaceEdit);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_pReplaceEdit, 1, 1);
    }

    m_pWholeWord = new QCheckBox(QString::fromLatin1(kWholeWord), this);
    m_pWholeWord->setObjectName(QStringLiteral("wholeWordCheck"));
    m_pMatchCase = new QCheckBox(QString::fromLatin1(kMatchCase), this);
    m_pMatchCase->setObjectName(QStringLiteral("matchCaseCheck"));
    auto *direction = new QGroupBox(QString::fromLatin1(kDirection), this);
    m_pUp = new QRadioButton(QString::fromLatin1(kUp), direction);
    m_pUp->setObjectName(QStringLiteral("upRadio"));
    m_pDown = new QRadioButton(QString::fromLatin1(kDown), direction);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_pUp);
    directionLayout->addWidget(m_pDown);

    auto *options = new QHBoxLayout;
    auto *checks = new QVBoxLayout;
    checks->addWidget(m_pWholeWord);
    checks->addWidget(m_pMatchCase);
    m_pRegularExpression = new QCheckBox(QString::fromLatin1(kRegularExpression), this);
    m_pRegularExpression->setObjectName(QStringLiteral("regularExpressionCheck"));
    checks->addWidget(m_pRegularExpression);
    checks->addStretch();
    options->addLayout(checks);
    options->addWidget(direction);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    m_pExpressionError = new QLabel(this);
    m_pExpressionError->setObjectName(QStringLiteral("expressionError"));
    m_pExpressionError->setWordWrap(true);
    m_pExpressionError->hide();
    left->addWidget(m_pExpressionError);

    auto *buttons = new QVBoxLayout;
    m_pFindNext = new QPushButton(QString::fromLatin1(kFindNextText), this);
    m_pFindNext->setObjectName(QStringLiteral("findNextButton"));
    m_pFindNext->setDefault(true);
    buttons->addWidget(m_pFindNext);
    if (replace) {
        m_pReplace = new QPushButton(QString::fromLatin1(kReplaceText), this);
        m_pReplace->setObjectName(QStringLiteral("replaceButton"));
        m_pReplaceAll = new QPushButton(QString::fromLatin1(kReplaceAllText), this);
        m_pReplaceAll->setObjectName(QStringLiteral("replaceAllButton"));
        buttons->addWidget(m_pReplace);
        buttons->addWidget(m_pReplaceAll);
    }
    auto *cancel = new QPushButton(QString::fromLatin1(kCancel), this);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);

    SetRequest(initial);

    connect(m_pFindEdit, &QLineEdit::textChanged, this, &CFindReplaceDlg::UpdateButtons);
    connect(m_pRegularExpression, &QCheckBox::toggled, this, &CFindReplaceDlg::UpdateButtons);
    connect(m_pFindNext, &QPushButton::clicked, this, [this] {
        if (CheckExpression())
            Q_EMIT FindNext(Request());
    });
    if (replace) {
        connect(m_pReplace, &QPushButton::clicked, this, [this] {
            if (CheckExpression())
                Q_EMIT Replace(Request());
        });
        connect(m_pReplaceAll, &QPushButton::clicked, this, [this] {
            if (CheckExpression())
                Q_EMIT ReplaceAll(Request());
        });
    }
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateButtons();
}

FindRequest CFindReplaceDlg::Request() const
{
    FindRequest request;
    request.findWhat = m_pFindEdit->text();
    if (m_pReplaceEdit)
        request.replaceWith = m_pReplaceEdit->text();
    request.wholeWord = m_pWholeWord->isChecked();
    request.matchCase = m_pMatchCase->isChecked();
    request.down = !m_pUp->isChecked();
    request.regularExpression = m_pRegularExpression->isChecked();
    return request;
}

void CFindReplaceDlg::SetRequest(const FindRequest &request)
{
    m_pFindEdit->setText(request.findWhat);
    m_pFindEdit->selectAll();
    if (m_pReplaceEdit)
        m_pReplaceEdit->setText(request.replaceWith);
    m_pWholeWord->setChecked(request.wholeWord);
    m_pMatchCase->setChecked(request.matchCase);
    m_pRegularExpression->setChecked(request.regularExpression);
    m_pUp->setChecked(!request.down);
    m_pDown->setChecked(request.down);
}

bool CFindReplaceDlg::CheckExpression()
{
    QString error;
    if (m_pRegularExpression->isChecked()) {
        const QRegularExpression expression(m_pFindEdit->text());
        if (!expression.isValid())
            error = QString::fromLatin1(kInvalidExpression).arg(expression.errorString());
    }
    m_pExpressionError->setText(error);
    m_pExpressionError->setVisible(!error.isEmpty());
    return error.isEmpty();
}

void CFindReplaceDlg::UpdateButtons()
{
    // An error said before goes once the expression is right again.
    if (m_pExpressionError->isVisible())
        CheckExpression();
    const bool any = !m_pFindEdit->text().isEmpty();
    m_pFindNext->setEnabled(any);
    if (m_pReplace) {
        m_pReplace->setEnabled(any);
        m_pReplaceAll->setEnabled(any);
    }
}
