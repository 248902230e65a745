// The document template: makes a document together with its child frame and
// view, titles new documents ("<doc name>1", "<doc name>2", …) and keeps the
// list of its open documents.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CDocument;
class CMDIChildWnd;
class CView;

class CDocTemplate {
public:
    using DocumentFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CMDIChildWnd*()>;
    using ViewFactory = std::function<CView*()>;

    // Fields of the template's string resource, separated by newlines.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CDocTemplate(unsigned resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                 ViewFactory makeView);
    virtual ~CDocTemplate();
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    QString GetDocString(DocStringIndex index) const;

    // Opens `path` in a new document and window, or makes a new untitled
    // document when `path` is empty. Null when that failed (the failure has
    // been reported, and the document and its frame are gone).
    virtual CDocument* OpenDocumentFile(const QString& path, bool makeVisible = true);
    virtual CDocument* CreateNewDocument();
    // A new child frame in the main frame's MDI area, hidden, holding a new view
    // of `document`.
    virtual CMDIChildWnd* CreateNewFrame(CDocument* document);
    virtual void InitialUpdateFrame(CMDIChildWnd* frame, CDocument* document,
                                    bool makeVisible = true);
    virtual void SetDefaultTitle(CDocument* document);

    void AddDocument(CDocument* document);
    void RemoveDocument(CDocument* document);
    const std::vector<CDocument*>& GetDocuments() const { return m_docList; }
    // The open document whose path names the same file as `path`, or null.
    CDocument* FindDocument(const QString& path) const;

    bool SaveAllModified();
    void CloseAllDocuments();

    unsigned m_nIDResource;
    int m_nUntitledCount = 0;

private:
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    std::vector<CDocument*> m_docList;
};

// The template of a multiple-document program, built from the three classes.
// `setUpView`, when given, finishes each new view: a layer above the view's
// own gives it what the view cannot name (its editing commands).
class CMultiDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;

    template <class Document, class Frame, class View>
    static std::unique_ptr<CMultiDocTemplate> Create(unsigned resourceId,
                                                     std::function<void(View&)> setUpView = {}) {
        return std::make_unique<CMultiDocTemplate>(
            resourceId, [] { return static_cast<CDocument*>(new Document); },
            [] { return static_cast<CMDIChildWnd*>(new Frame); },
            [setUpView = std::move(setUpView)] {
                auto* view = new View;
                if (setUpView)
                    setUpView(*view);
                return static_cast<CView*>(view);
            });
    }
};
