#include "HelpViewer.h"

#include "HelpBook.h"

namespace vigilon::app {

HelpViewer::HelpViewer() : HelpViewer(HelpBookFolders()) {}

HelpViewer::HelpViewer(std::vector<std::filesystem::path> folders) : backend_(std::move(folders)) {}

}  // namespace vigilon::app
