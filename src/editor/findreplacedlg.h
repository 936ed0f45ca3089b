// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/findrequest.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Find dialog, and with a replacement field the Replace dialog. It only
// collects the request; the view that owns it does the searching.
class CFindReplaceDlg : public QDialog
{
    Q_OBJECT
public:
    static const char *const kFindTitle;
    static const char *const kReplaceTitle;

    CFindReplaceDlg(bool replace, const FindRequest &initial, QWidget *parent);

    bool IsReplace() const { return m_bReplace; }
    FindRequest Request() const;
    void SetRequest(const FindRequest &request);

Q_SIGNALS:
    void FindNext(const FindRequest &request);
    void Replace(const FindRequest &request);
    void ReplaceAll(const FindRequest &request);

private:
    void UpdateButtons();
    // Whether the request can be searched; an invalid expression is said in the dialog.
    bool CheckExpression();

    bool m_bReplace;
    QLineEdit *m_pFindEdit = nullptr;
    QLineEdit *m_pReplaceEdit = nullptr;
    QCheckBox *m_pWholeWord = nullptr;
    QCheckBox *m_pMatchCase = nullptr;
    QCheckBox *m_pRegularExpression = nullptr;
    QLabel *m_pExpressionError = nullptr;
    QRadioButton *m_pUp = nullptr;
    QRadioButton *m_pDown = nullptr;
    QPushButton *m_pFindNext = nullptr;
    QPushButton *m_pReplace = nullptr;
    QPushButton *m_pReplaceAll = nullptr;
};
