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

const char *const CFindReplaceDlg::kFindTitle = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Find");
const char *const CFindReplaceDlg::kReplaceTitle = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Replace");

namespace {
const char *const kFindWhat = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Fi&nd what:");
const char *const kReplaceWith = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Re&place with:");
const char *const kWholeWord = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Match &whole word only");
const char *const kMatchCase = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Match &case");
const char *const kDirection = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Direction");
const char *const kUp = QT_TRANSLATE_NOOP("CFindReplaceDlg", "&Up");
const char *const kDown = QT_TRANSLATE_NOOP("CFindReplaceDlg", "&Down");
const char *const kFindNextText = QT_TRANSLATE_NOOP("CFindReplaceDlg", "&Find Next");
const char *const kReplaceText = QT_TRANSLATE_NOOP("CFindReplaceDlg", "&Replace");
const char *const kReplaceAllText = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Replace &All");
const char *const kCancel = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Cancel");
const char *const kRegularExpression = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Regular e&xpression");
const char *const kInvalidExpression = QT_TRANSLATE_NOOP("CFindReplaceDlg", "Invalid regular expression: %1");
} // namespace

CFindReplaceDlg::CFindReplaceDlg(bool replace, const FindRequest &initial, QWidget *parent)
    : QDialog(parent), m_bReplace(replace)
{
    setWindowTitle(tr(replace ? kReplaceTitle : kFindTitle));

    auto *fields = new QGridLayout;
    auto *findLabel = new QLabel(tr(kFindWhat), this);
    m_pFindEdit = new QLineEdit(this);
    m_pFindEdit->setObjectName(QStringLiteral("findEdit"));
    findLabel->setBuddy(m_pFindEdit);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_pFindEdit, 0, 1);
    if (replace) {
        auto *replaceLabel = new QLabel(tr(kReplaceWith), this);
        m_pReplaceEdit = new QLineEdit(this);
        m_pReplaceEdit->setObjectName(QStringLiteral("replaceEdit"));
        replaceLabel->setBuddy(m_pReplaceEdit);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_pReplaceEdit, 1, 1);
    }

    m_pWholeWord = new QCheckBox(tr(kWholeWord), this);
    m_pWholeWord->setObjectName(QStringLiteral("wholeWordCheck"));
    m_pMatchCase = new QCheckBox(tr(kMatchCase), this);
    m_pMatchCase->setObjectName(QStringLiteral("matchCaseCheck"));
    auto *direction = new QGroupBox(tr(kDirection), this);
    m_pUp = new QRadioButton(tr(kUp), direction);
    m_pUp->setObjectName(QStringLiteral("upRadio"));
    m_pDown = new QRadioButton(tr(kDown), direction);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_pUp);
    directionLayout->addWidget(m_pDown);

    auto *options = new QHBoxLayout;
    auto *checks = new QVBoxLayout;
    checks->addWidget(m_pWholeWord);
    checks->addWidget(m_pMatchCase);
    m_pRegularExpression = new QCheckBox(tr(kRegularExpression), this);
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
    m_pFindNext = new QPushButton(tr(kFindNextText), this);
    m_pFindNext->setObjectName(QStringLiteral("findNextButton"));
    m_pFindNext->setDefault(true);
    buttons->addWidget(m_pFindNext);
    if (replace) {
        m_pReplace = new QPushButton(tr(kReplaceText), this);
        m_pReplace->setObjectName(QStringLiteral("replaceButton"));
        m_pReplaceAll = new QPushButton(tr(kReplaceAllText), this);
        m_pReplaceAll->setObjectName(QStringLiteral("replaceAllButton"));
        buttons->addWidget(m_pReplace);
        buttons->addWidget(m_pReplaceAll);
    }
    auto *cancel = new QPushButton(tr(kCancel), this);
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
            error = tr(kInvalidExpression).arg(expression.errorString());
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
