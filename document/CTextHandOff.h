// What opening a text file does, and the hand-off to the desktop's text editor.
// The application object derives from this class, so m_nOpenTextMode and
// OpenInTextEditor are its members; without one, a default instance serves.
#pragma once

#include <QString>

class CTextHandOff {
public:
    CTextHandOff();
    virtual ~CTextHandOff();
    CTextHandOff(const CTextHandOff&) = delete;
    CTextHandOff& operator=(const CTextHandOff&) = delete;

    // The instance in charge: the most recently constructed one still alive.
    static CTextHandOff& Current();

    // Starts the desktop's text editor on `path`, without waiting for it. On
    // failure tells the user why and returns false.
    virtual bool OpenInTextEditor(const QString& path);

    // True when this process was itself started as a text editor by a hand-off:
    // its text files then open in hex, so hand-offs can never chain.
    static bool StartedByHandOff();

    // 0 hand text files to the text editor, 1 open them in hex, 2 ask.
    int m_nOpenTextMode = 2;

    // Set while the file named on the command line opens: a failed hand-off
    // then shows the file in hex instead of ending the program.
    bool m_bHexWhenHandOffFails = false;

private:
    struct Fallback {};
    explicit CTextHandOff(Fallback); // the default instance never takes charge
};
