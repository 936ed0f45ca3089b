// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/richsyntaxdoc.h"

#include "core/appservices.h"
#include "core/recoverystore.h"
#include "core/uitext.h"
#include "editor/compilemarks.h"
#include "editor/fileerrors.h"
#include "editor/fileresult.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QTextDocument>

#include <cerrno>

namespace {
const UiText kSaveChanges{"CRichSyntaxDoc", QT_TRANSLATE_NOOP("CRichSyntaxDoc", "Save changes to %1?")};
const UiText kChangedOnDisk{
    "CRichSyntaxDoc",
    QT_TRANSLATE_NOOP("CRichSyntaxDoc", "%1 has been changed by another program.\nDo you want to reload it?")};
const UiText kChangesLost{"CRichSyntaxDoc",
                          QT_TRANSLATE_NOOP("CRichSyntaxDoc", "\nYour unsaved changes will be lost.")};
const UiText kOverwriteChanged{
    "CRichSyntaxDoc",
    QT_TRANSLATE_NOOP("CRichSyntaxDoc",
                      "%1 has been changed by another program since it was opened.\nDo you want to overwrite it?")};
const UiText kOfferUtf8{"CRichSyntaxDoc",
                        QT_TRANSLATE_NOOP("CRichSyntaxDoc",
                                          "%1 cannot hold the character U+%2 (line %3, column %4) of %5.\n"
                                          "Do you want to save the file as UTF-8 instead?")};
const UiText kRecoveryFailed{
    "CRichSyntaxDoc", QT_TRANSLATE_NOOP("CRichSyntaxDoc", "Unsaved changes of %1 could not be kept for recovery: %2")};
const UiText kSaveAsCaption{"CRichSyntaxDoc", QT_TRANSLATE_NOOP("CRichSyntaxDoc", "Save As")};
const UiText kFilterSource{"CRichSyntaxDoc", QT_TRANSLATE_NOOP("CRichSyntaxDoc", "Quarn BASIC Code Files (*.qrx)")};
const UiText kFilterAll{"CRichSyntaxDoc", QT_TRANSLATE_NOOP("CRichSyntaxDoc", "All Files (*)")};
const QString kDefaultSuffix = QStringLiteral("qrx");

// Line and column, both counted from 1, of a position in the raw text.
void LineAndColumn(const QString &text, int index, int *line, int *column)
{
    *line = 1;
    int lineStart = 0;
    for (int i = 0; i < index && i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == QChar::ParagraphSeparator || ch == QLatin1Char('\n')) {
            ++*line;
            lineStart = i + 1;
        }
    }
    *column = index - lineStart + 1;
}

QString CodePointAt(const QString &text, int index)
{
    char32_t code = text.at(index).unicode();
    if (text.at(index).isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate())
        code = QChar::surrogateToUcs4(text.at(index), text.at(index + 1));
    return QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}
} // namespace

namespace {
QList<CRichSyntaxDoc *> &Documents()
{
    static QList<CRichSyntaxDoc *> documents;
    return documents;
}
} // namespace

const QList<CRichSyntaxDoc *> &CRichSyntaxDoc::OpenDocuments()
{
    return Documents();
}

CRichSyntaxDoc::CRichSyntaxDoc(QObject *parent) : QObject(parent), m_pTextDoc(new QTextDocument(this))
{
    Documents().append(this);
    static quint64 s_nDocuments = 0;
    m_strRecoveryKey = QString::number(++s_nDocuments);
    m_pTextDoc->setDocumentLayout(new QPlainTextDocumentLayout(m_pTextDoc));
    // A change starts the clock; typing on does not restart it, so the text is
    // kept at most every interval and never while nothing changes.
    m_recoveryTimer.setSingleShot(true);
    m_recoveryTimer.setInterval(s_recoveryIntervalMs.Value());
    connect(&m_recoveryTimer, &QTimer::timeout, this, &CRichSyntaxDoc::OnRecoveryTimer);
    connect(m_pTextDoc, &QTextDocument::contentsChanged, this, [this] {
        if (!m_recoveryTimer.isActive())
            m_recoveryTimer.start();
    });
}

CRichSyntaxDoc::~CRichSyntaxDoc()
{
    Documents().removeOne(this);
    // Closed, saved or not: nothing of it is left to recover.
    CRecoveryStore::Session().DropText(m_strRecoveryKey);
}

void CRichSyntaxDoc::OnRecoveryTimer()
{
    if (IsModified())
        KeepUnsavedText();
    else
        CRecoveryStore::Session().DropText(m_strRecoveryKey);
}

bool CRichSyntaxDoc::KeepUnsavedText()
{
    m_recoveryTimer.stop();
    RecoveryEntry entry;
    entry.path = m_strPathName;
    entry.title = m_strTitle;
    entry.encoding = SourceEncodingName(m_encoding);
    entry.bytes = m_pTextDoc->toRawText().toUtf8();
    entry.fileState = m_diskState.ToText();
    int error = 0;
    if (CRecoveryStore::Session().KeepText(m_strRecoveryKey, entry, &error)) {
        m_bRecoveryFailureShown = false;
        return true;
    }
    if (!m_bRecoveryFailureShown) {
        m_bRecoveryFailureShown = true;
        const QString name = m_strPathName.isEmpty() ? m_strTitle : QDir::toNativeSeparators(m_strPathName);
        Services().ShowStatusMessage(kRecoveryFailed.arg(name, qt_error_string(error)));
    }
    return false;
}

bool CRichSyntaxDoc::TakeRecoveredText(const QString &text, SourceEncoding encoding, const FileState *diskState)
{
    m_pTextDoc->setPlainText(text);
    m_encoding = encoding;
    if (diskState)
        m_diskState = *diskState;
    else
        AdoptFileOnDisk();
    m_declinedState = FileState();
    SetModifiedFlag(true);
    return KeepUnsavedText();
}

bool CRichSyntaxDoc::ChangedSince(FileState &state) const
{
    FileState now = FileStateOf(DiskPath());
    if (!now.exists || !state.exists || (now.SameOnDisk(state) && state.settled))
        return false;
    now.hash = HashOfFile(DiskPath());
    if (now.hash == state.hash) {
        // The same bytes: the file's new times are taken up, but never a link that was not there.
        if (now.link == state.link && (!now.link || now.entryIdentity == state.entryIdentity))
            state = now;
        return false;
    }
    return true;
}

QString CRichSyntaxDoc::DiskPath() const
{
    return m_strPathName.isEmpty() ? m_strRecoveredFrom : m_strPathName;
}

void CRichSyntaxDoc::AdoptFileOnDisk()
{
    const FileState now = DiskPath().isEmpty() ? FileState() : FileStateOf(DiskPath());
    m_diskState = now.link ? FileState() : now;
    if (m_diskState.exists)
        m_diskState.hash = HashOfFile(DiskPath());
}

void CRichSyntaxDoc::CheckFileOnDisk()
{
    if (m_strPathName.isEmpty() || !ChangedSince(m_diskState))
        return;
    // The user has said No to this version of the file already.
    FileState declined = m_declinedState;
    if (declined.exists && !ChangedSince(declined)) {
        m_declinedState = declined;
        return;
    }
    QString question = kChangedOnDisk.arg(QDir::toNativeSeparators(m_strPathName));
    if (IsModified())
        question += kChangesLost;
    // Enter must not throw unsaved work away.
    const QMessageBox::StandardButton keep = IsModified() ? QMessageBox::No : QMessageBox::Yes;
    if (MessageBox(question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, keep) == QMessageBox::Yes) {
        const FileState before = m_diskState;
        if (OnOpenDocument(m_strPathName).Report()) {
            m_declinedState = FileState();
            // The text is read through whatever is there now, but a link that
            // came is not taken for the file: the next save asks and replaces it.
            if (m_diskState.link && !(before.link && before.entryIdentity == m_diskState.entryIdentity)) {
                m_diskState.link = false;
                m_diskState.entryIdentity = 0;
            }
        }
    } else {
        m_declinedState = FileStateOf(m_strPathName);
        m_declinedState.hash = HashOfFile(m_strPathName);
    }
}

void CRichSyntaxDoc::SetPathName(const QString &path, bool addToRecent)
{
    m_strPathName = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    SetTitle(QFileInfo(m_strPathName).fileName());
    Q_EMIT PathNameChanged(m_strPathName, addToRecent);
}

void CRichSyntaxDoc::SetTitle(const QString &title)
{
    m_strTitle = title;
    Q_EMIT TitleChanged();
}

QStringList CRichSyntaxDoc::FileFilters()
{
    return {kFilterSource, kFilterAll};
}

bool CRichSyntaxDoc::IsModified() const
{
    return m_pTextDoc->isModified();
}

void CRichSyntaxDoc::SetModifiedFlag(bool modified)
{
    m_pTextDoc->setModified(modified);
}

FileResult CRichSyntaxDoc::OnOpenDocument(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        // Qt decodes a name that is not valid in the system's encoding with
        // stand-ins and can then neither find nor open the file: the file may
        // well be there, only not under that name.
        return path.contains(QChar::ReplacementCharacter) ? FileResult::Failed(FileResult::Kind::NameNotText, path)
                                                          : FileResult::SystemError(ENOENT, path, false);
    }
    if (info.isDir()) {
        return FileResult::SystemError(EACCES, path, false);
    }
    if (!info.isFile()) {
        // A device or a pipe could block the editor or never end.
        return FileResult::Failed(FileResult::Kind::NotAFile, path);
    }
    // What the path names is looked at before it is opened, so that a link
    // or file put in its place meanwhile shows as a change at the next save.
    const FileState entry = FileStateOf(path);
    QFile file(path);
    ClearSystemError();
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::SystemError(LastSystemError(), path, false);
    ClearSystemError();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileResult::SystemError(LastSystemError(), path, false);
    AfterFileAccess(path);
    const DecodedSource source = DecodeSource(bytes);
    // Every key typed in a line of millions of characters would keep the
    // editor busy for seconds; such a file is refused before it is shown.
    const int tooLong = FirstLineLongerThan(source.text, kMaxLineLength);
    if (tooLong > 0) {
        FileResult result = FileResult::Failed(FileResult::Kind::LineTooLong, path);
        result.line = tooLong;
        result.limit = kMaxLineLength;
        return result;
    }
    m_encoding = source.encoding;
    m_lineBreak = source.lineBreak;
    m_pTextDoc->setPlainText(source.text);
    m_pTextDoc->setModified(false);
    m_diskState = FileStateOfRead(entry, file, bytes);
    // The marks the compiles made in this file.
    CCompileMarks::Instance().ApplyTo(*this, path);
    return FileResult();
}

FileResult CRichSyntaxDoc::EncodeForSave(const QString &path, QByteArray *bytes, SourceEncoding *encoding) const
{
    // The raw text: toPlainText would turn a no-break space into a blank.
    const QString text = m_pTextDoc->toRawText();
    *encoding = m_encoding;
    int bad = -1;
    if (EncodeSource(text, *encoding, bytes, &bad, m_lineBreak))
        return FileResult();

    int line = 0;
    int column = 0;
    LineAndColumn(text, bad, &line, &column);
    const QString name = QDir::toNativeSeparators(path);
    if (*encoding == SourceEncoding::Windows1252) {
        const QString question =
            kOfferUtf8.arg(SourceEncodingName(*encoding), CodePointAt(text, bad)).arg(line).arg(column).arg(name);
        if (MessageBox(question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return FileResult::Failed(FileResult::Kind::Declined, path, true);
        *encoding = SourceEncoding::Utf8;
        if (EncodeSource(text, *encoding, bytes, &bad, m_lineBreak))
            return FileResult();
        LineAndColumn(text, bad, &line, &column);
    }
    // Only a broken surrogate pair is left that no encoding of ours can hold.
    FileResult result = FileResult::Failed(FileResult::Kind::Unencodable, path, true);
    result.codePoint = CodePointAt(text, bad);
    result.line = line;
    result.column = column;
    result.encodingName = SourceEncodingName(*encoding);
    return result;
}

FileResult CRichSyntaxDoc::OnSaveDocument(const QString &path)
{
    QByteArray bytes;
    SourceEncoding encoding = m_encoding;
    const FileResult encoded = EncodeForSave(path, &bytes, &encoding);
    if (!encoded.Ok())
        return encoded;
    // Another program's version of the file is overwritten only when the user
    // says so; so is anything else that took the file's place, and a link
    // that was not there before is replaced, never followed, even one that
    // came while the question was up.
    const FileState *seen = nullptr;
    if (!DiskPath().isEmpty() && QDir::cleanPath(QFileInfo(path).absoluteFilePath()) == DiskPath()) {
        FileState loaded = m_diskState;
        const FileState now = FileStateOf(path);
        const bool replaced = !m_diskState.SameEntry(now);
        if ((replaced || ChangedSince(loaded))
            && MessageBox(kOverwriteChanged.arg(QDir::toNativeSeparators(path)), QMessageBox::Question,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                   != QMessageBox::Yes)
            return FileResult::Failed(FileResult::Kind::Declined, path, true);
        seen = &m_diskState;
    }
    int error = 0;
    FileState written;
    if (!WriteFileSafely(path, bytes, &error, seen, &written))
        return FileResult::SystemError(error, path, true);
    m_encoding = encoding;
    m_diskState = written;
    m_declinedState = FileState();
    SetModifiedFlag(false);
    m_recoveryTimer.stop();
    CRecoveryStore::Session().DropText(m_strRecoveryKey);
    return FileResult();
}

FileResult CRichSyntaxDoc::StartNewFile(const QString &path, const QString &text)
{
    SetPathName(path);
    // What is there now (a file the user chose to replace) is what this
    // first save replaces without asking again.
    AdoptFileOnDisk();
    m_pTextDoc->setPlainText(text);
    return OnSaveDocument(path);
}

bool CRichSyntaxDoc::DoFileSave()
{
    const QFileInfo info(m_strPathName);
    if (m_strPathName.isEmpty() || !info.exists() || !info.isWritable())
        return DoSave(QString());
    return DoSave(m_strPathName);
}

bool CRichSyntaxDoc::DoSave(const QString &path, bool replace)
{
    QString target = path;
    if (target.isEmpty()) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::SaveFile;
        request.caption = kSaveAsCaption;
        request.filters = FileFilters();
        request.defaultSuffix = kDefaultSuffix;
        if (!m_strPathName.isEmpty() || !m_strRecoveredFrom.isEmpty()) {
            const QFileInfo info(m_strPathName.isEmpty() ? m_strRecoveredFrom : m_strPathName);
            request.directory = info.absolutePath();
            request.fileName = info.fileName();
        } else {
            request.fileName = m_strTitle;
            if (!m_strTitle.contains(QLatin1Char('.')))
                request.fileName += QLatin1Char('.') + kDefaultSuffix;
        }
        target = Services().FileDialog(Services().DialogParent(), request);
        if (target.isEmpty())
            return false;
    }
    if (!OnSaveDocument(target).Report())
        return false;
    if (replace)
        SetPathName(target);
    else
        Q_EMIT Saved(m_strPathName);
    return true;
}

bool CRichSyntaxDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (MessageBox(kSaveChanges.arg(m_strTitle), QMessageBox::Warning,
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return DoFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CRichSyntaxDoc::OnNewDocument()
{
    m_pTextDoc->clear();
    m_strPathName.clear();
    m_lineBreak = LineBreak::CrLf;
    SetModifiedFlag(false);
}

void CRichSyntaxDoc::AddView(CRichSyntaxView *view)
{
    if (!m_views.contains(view)) {
        m_views.append(view);
        Q_EMIT ViewsChanged();
    }
}

void CRichSyntaxDoc::RemoveView(CRichSyntaxView *view)
{
    if (m_views.removeAll(view) > 0)
        Q_EMIT ViewsChanged();
}
