// The address an Internet shortcut file (".url") points to: the URL= line of
// its [InternetShortcut] group.
#pragma once

#include <optional>
#include <string>

// The first URL= value of the [InternetShortcut] group (group and key in any
// letter case, blanks around the value removed, CR LF or LF line ends), or
// nothing when the group or the key is missing or the value is empty.
std::optional<std::string> InternetShortcutUrl(const std::string& fileText);

// Whether `url` is a web address (http or https, any letter case): the only
// kind the web page command hands to the desktop, since the shortcut file is
// just text anyone may have edited.
bool IsWebAddress(const std::string& url);
