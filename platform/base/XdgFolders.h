#pragma once

#include <filesystem>
#include <string>

// The home folder: $HOME with repeated "/", "." and ".." taken out and no trailing "/";
// "/" when it is unset or empty.
std::string HomeFolder();

// The per-user folders of the XDG base directory rules.
enum TXdgFolder : unsigned char { xfConfig, xfCache, xfData };

// $XDG_CONFIG_HOME, $XDG_CACHE_HOME or $XDG_DATA_HOME when it holds an absolute path
// (a relative one is to be ignored), else ~/.config, ~/.cache or ~/.local/share, the
// home folder being $HOME cleaned ("/" when it is unset or empty); no trailing "/".
std::filesystem::path XdgFolder(TXdgFolder folder);
