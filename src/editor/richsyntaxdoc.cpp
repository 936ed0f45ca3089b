// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/richsyntaxdoc.h"

#include "app/editorapp.h"
#include "app/recentfilelist.h"
#include "editor/richsyntaxview.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QTextDocument>

CRichSyntaxDoc::CRichSyntaxDoc(QObject *parent)
    : QObject(parent), m_pTextDoc(new QTextDocument(this))
{
    m_pTextDoc->setDocumentLayout(new QPlainTextDocumentLayout(m_pTextDoc));
    connect(m_pTextDoc, &QTextDocument::modificationChanged, this, &CRichSyntaxDoc::ModifiedChanged);
}

CRichSyntaxDoc::~CRichSyntaxDoc() = default;

void CRichSyntaxDoc::SetPathName(const QString &path, bool addToRecent)
{
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(m_strPathName).fileName());
    if (addToRecent && CEditorApp::Instance() && CEditorApp::Instance()->RecentFiles())
        CEditorApp::Instance()->RecentFiles()->Add(m_strPathName);
}

void CRichSyntaxDoc::SetTitle(const QString &title)
{
    m_strTitle = title;
    Q_EMIT TitleChanged();
}

bool CRichSyntaxDoc::IsModified() const
{
    return m_pTextDoc->isModified();
}

void CRichSyntaxDoc::SetModifiedFlag(bool modified)
{
    m_pTextDoc->setModified(modified);
}

bool CRichSyntaxDoc::OnOpenDocument(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CEditorApp::MessageBox(QStringLiteral("Failed to open document."));
        return false;
    }
    const DecodedSource source = DecodeSource(file.readAll());
    m_encoding = source.encoding;
    m_pTextDoc->setPlainText(source.text);
    m_pTextDoc->setModified(false);
    m_nNewType = 0;
    return true;
}

bool CRichSyntaxDoc::OnSaveDocument(const QString &path)
{
    QByteArray bytes;
    if (!EncodeSource(m_pTextDoc->toRawText(), m_encoding, &bytes)) {
        CEditorApp::MessageBox(QStringLiteral("Failed to save document."));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        CEditorApp::MessageBox(QStringLiteral("Failed to save document."));
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CRichSyntaxDoc::DoFileSave()
{
    return DoSave(m_strPathName);
}

bool CRichSyntaxDoc::DoSave(const QString &path, bool replace)
{
    if (path.isEmpty())
        return false;
    if (!OnSaveDocument(path))
        return false;
    if (replace)
        SetPathName(path);
    return true;
}

bool CRichSyntaxDoc::SaveModified()
{
    return true;
}

void CRichSyntaxDoc::AddView(CRichSyntaxView *view)
{
    m_views.append(view);
}

void CRichSyntaxDoc::RemoveView(CRichSyntaxView *view)
{
    m_views.removeAll(view);
}
