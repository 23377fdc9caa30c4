#include "AppIndicatorTray.h"

#include <gtk/gtk.h>

#include <vector>

#include "AppIndicatorLibrary.h"
#include "TrayIconFolder.h"

namespace vigilon::app {

namespace {

// The item's identifier, under which a host keeps its own settings for it.
constexpr const char* kIndicatorId = "vigilon";

// "&Open" becomes GTK's "_Open"; "&&" a plain '&', a '_' a plain '_'.
std::string MnemonicLabel(const std::string& text) {
    std::string label;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') {
            label += '&';
            ++i;
        } else if (text[i] == '&') {
            label += '_';
        } else if (text[i] == '_') {
            label += "__";
        } else {
            label += text[i];
        }
    }
    return label;
}

}  // namespace

struct AppIndicatorTray::Gtk {
    explicit Gtk(AppIndicatorTray& tray) : tray(tray) {}
    ~Gtk() {
        // The indicator leaves the bus (passive first) before its menu goes.
        if (indicator != nullptr) g_object_unref(indicator);
        DropMenu();
    }

    void DropMenu() {
        if (menu == nullptr) return;
        gtk_widget_destroy(menu);
        g_object_unref(menu);
        menu = nullptr;
    }

    // The popup's items as a GtkMenu, which the indicator exports over
    // com.canonical.dbusmenu; returns its first item.
    GtkWidget* BuildMenu(GtkWidget* parent, const std::vector<MenuItem>& items) {
        GtkWidget* first = nullptr;
        for (const MenuItem& item : items) {
            GtkWidget* widget = nullptr;
            if (item.IsSeparator()) {
                widget = gtk_separator_menu_item_new();
            } else {
                widget = gtk_menu_item_new_with_mnemonic(MnemonicLabel(item.text).c_str());
                if (!item.children.empty()) {
                    GtkWidget* submenu = gtk_menu_new();
                    BuildMenu(submenu, item.children);
                    gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), submenu);
                } else {
                    g_signal_connect_data(widget, "activate", G_CALLBACK(OnActivate),
                                          new ItemCommand{&tray, item.id}, FreeItemCommand,
                                          GConnectFlags(0));
                }
            }
            gtk_menu_shell_append(GTK_MENU_SHELL(parent), widget);
            if (first == nullptr) first = widget;
        }
        return first;
    }

    struct ItemCommand {
        AppIndicatorTray* tray;
        int commandId;
    };
    static void OnActivate(GtkMenuItem*, gpointer data) {
        const auto* command = static_cast<ItemCommand*>(data);
        command->tray->PostCommand(command->commandId);
    }
    static void FreeItemCommand(gpointer data, GClosure*) {
        delete static_cast<ItemCommand*>(data);
    }
    static void OnConnectionChanged(AppIndicator*, gboolean isConnected, gpointer data) {
        static_cast<Gtk*>(data)->connected = isConnected != FALSE;
    }

    AppIndicatorTray& tray;
    TrayIconFolder icons;
    AppIndicator* indicator = nullptr;
    GtkWidget* menu = nullptr;  // owned: a floating reference sunk
    unsigned menuId = 0;
    // The picture and title last handed to the indicator (none yet when empty).
    std::string shownIcon;
    std::string shownTitle;
    bool connected = false;  // registered with a StatusNotifierWatcher
};

AppIndicatorTray::AppIndicatorTray() = default;

AppIndicatorTray::~AppIndicatorTray() = default;

bool AppIndicatorTray::HasNotificationArea() const {
    // An item needs only the session bus on which a watcher was found, under
    // X11 and Wayland alike.
    return true;
}

bool AppIndicatorTray::TrayShown() const { return added_ && gtk_ != nullptr && gtk_->connected; }

std::string AppIndicatorTray::IconFolder() const {
    return gtk_ != nullptr ? gtk_->icons.Path() : std::string();
}

bool AppIndicatorTray::NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) {
    switch (message) {
        case NotifyIconMessage::Add:
            // An indicator starts with a picture, or it never registers.
            if ((record.flags & NIF_ICON) == 0 || TrayIconFolder::IconName(record.iconId).empty())
                return false;
            if (gtk_ == nullptr && !CreateIndicator(record.iconId)) return false;
            record_ = NotifyIconRecord{record.owner, record.id, 0, 0, 0, {}};
            ApplyRecord(record);
            AppIndicatorLibrary()->setStatus(gtk_->indicator, APP_INDICATOR_STATUS_ACTIVE);
            added_ = true;
            return true;
        case NotifyIconMessage::Modify:
            if (!added_ || record.id != record_.id) return false;
            if ((record.flags & NIF_ICON) != 0 && TrayIconFolder::IconName(record.iconId).empty())
                return false;
            ApplyRecord(record);
            return true;
        case NotifyIconMessage::Delete:
            if (!added_ || record.id != record_.id) return false;
            // A passive item is hidden by the host; the indicator itself
            // stays on the bus until this tray goes.
            AppIndicatorLibrary()->setStatus(gtk_->indicator, APP_INDICATOR_STATUS_PASSIVE);
            added_ = false;
            return true;
    }
    return false;
}

bool AppIndicatorTray::CreateIndicator(int iconId) {
    if (AppIndicatorLibrary() == nullptr) return false;  // chosen only when it loads
    auto gtk = std::make_unique<Gtk>(*this);
    if (!gtk->icons.Ready()) return false;
    gtk->indicator = AppIndicatorLibrary()->newWithPath(
        kIndicatorId, TrayIconFolder::IconName(iconId).c_str(),
        APP_INDICATOR_CATEGORY_APPLICATION_STATUS, gtk->icons.Path().c_str());
    if (gtk->indicator == nullptr) return false;
    g_signal_connect(gtk->indicator, APP_INDICATOR_SIGNAL_CONNECTION_CHANGED,
                     G_CALLBACK(Gtk::OnConnectionChanged), gtk.get());
    gtk_ = std::move(gtk);
    return true;
}

void AppIndicatorTray::ApplyRecord(const NotifyIconRecord& record) {
    if (record.flags & NIF_ICON) record_.iconId = record.iconId;
    if (record.flags & NIF_TIP) record_.tip = record.tip;
    // The protocol has no tooltip of its own here: hosts show the title in
    // its place, and screen readers read the icon's description.
    // The run sets both again after every cycle: only a change is handed on.
    const std::string iconName = TrayIconFolder::IconName(record_.iconId);
    if (iconName != gtk_->shownIcon || record_.tip != gtk_->shownTitle) {
        AppIndicatorLibrary()->setIconFull(gtk_->indicator, iconName.c_str(), record_.tip.c_str());
        AppIndicatorLibrary()->setTitle(gtk_->indicator, record_.tip.c_str());
        gtk_->shownIcon = iconName;
        gtk_->shownTitle = record_.tip;
    }

    // The identifier names the menu, as for a right-click elsewhere; its
    // first pop-up is the tray menu, its first item the default.
    if (gtk_->menu != nullptr && gtk_->menuId == record_.id) return;
    gtk_->DropMenu();
    const MenuResource* resource = FindMenuResource(static_cast<int>(record_.id & 0xFFFF));
    if (resource == nullptr || resource->popups.empty() ||
        resource->popups.front().children.empty())
        return;
    gtk_->menu = GTK_WIDGET(g_object_ref_sink(gtk_menu_new()));
    gtk_->menuId = record_.id;
    GtkWidget* first = gtk_->BuildMenu(gtk_->menu, resource->popups.front().children);
    gtk_widget_show_all(gtk_->menu);
    AppIndicatorLibrary()->setMenu(gtk_->indicator, GTK_MENU(gtk_->menu));
    AppIndicatorLibrary()->setSecondaryActivateTarget(gtk_->indicator, first);
}

void AppIndicatorTray::TrackPopupMenu(const MenuItem& /*popup*/, int /*defaultIndex*/,
                                      TrayOwner& /*owner*/) {
    // Nothing to do: the host opens the exported menu on a click by itself,
    // and with no mouse messages reported nothing ever asks for it here.
}

void AppIndicatorTray::PostCommand(int commandId) {
    if (!added_ || record_.owner == nullptr) return;
    TrayOwner* owner = record_.owner;
    commands_.CallAfter([owner, commandId] { owner->OnTrayCommand(commandId); });
}

}  // namespace vigilon::app
