// The document: one open file or unnamed buffer, with its path, title, modified
// flag and views, and the standard new/open/save/close flows that the program's
// document class overrides step by step.
#pragma once

#include "framework/CCmdTarget.h"

#include <QObject>
#include <QString>

#include <exception>
#include <memory>
#include <vector>

class CDocTemplate;
class CFile64;
class CFileException;
class CMDIChildWnd;
class CView;

class CDocument : public QObject, public CCmdTarget {
    Q_OBJECT
public:
    CDocument();
    ~CDocument() override;

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // Takes the full path, titles the document with the file's name and, when
    // asked, adds the path to the recent-file list.
    virtual void SetPathName(const QString& path, bool addToRecent = true);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual bool IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    const std::vector<CView*>& GetViews() const { return m_viewList; }
    void AddView(CView* view);
    void RemoveView(CView* view);
    // Calls OnUpdate of every view except `sender`.
    void UpdateAllViews(CView* sender, long hint = 0, QObject* hintObject = nullptr);
    // The child frames showing this document, in the order of their views.
    std::vector<CMDIChildWnd*> GetFrames() const;
    // Numbers the frames (":1", ":2") when there are several, and retitles them.
    void UpdateFrameCounts();

    virtual void DeleteContents();
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const QString& path);
    virtual bool OnSaveDocument(const QString& path);
    // Closes every frame of the document, clears it and, when it deletes itself
    // automatically, leaves its template and is deleted.
    virtual void OnCloseDocument();
    // The save/load error message, with the exclamation icon: a file error's
    // cause text (a nameless one first gets `path`), else the default text.
    virtual void ReportSaveLoadException(const QString& path, const std::exception* error,
                                         bool saving, unsigned defaultPrompt);
    // A file to save into: with modeCreate, a safe-save file that replaces the
    // target only when released normally. Null, with `error` filled, on failure.
    virtual std::unique_ptr<CFile64> GetFile(const QString& path, unsigned flags,
                                             CFileException* error);
    virtual void ReleaseFile(std::unique_ptr<CFile64> file, bool abort);
    // Asks "save the changes?" when modified; false when the user cancelled or
    // the save failed.
    virtual bool SaveModified();
    // Saves under `path`, or asks for a name when it is empty. With `replace`
    // the document takes the new name.
    virtual bool DoSave(const QString& path, bool replace = true);
    virtual bool DoFileSave();
    virtual bool CanCloseFrame(CMDIChildWnd* frame);
    virtual void PreCloseFrame(CMDIChildWnd* frame);

    bool m_bAutoDelete = true;

protected:
    void OnFileClose();

    QString m_strTitle;
    QString m_strPathName;
    bool m_bModified = false;

private:
    friend class CDocTemplate;
    void OnChangedViewList();

    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_viewList;
};

// The local 8-bit form of a path, as the file layer takes it.
std::string EncodePath(const QString& path);
QString DecodePath(const std::string& path);
