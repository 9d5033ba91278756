#pragma once

#include <QString>
#include <memory>

namespace KX::Brovik {

// The user-interface fonts of the application: fonts shipped in the resources folder's "fonts"
// subfolder are registered, and the style placeholders @DefaultUIFont@, @DefaultUILightFont@ and
// @DefaultUISemiBoldFont@ resolve to family names that exist on this system.
class FontFactory {
public:
    explicit FontFactory(const QString& resourcesPath);

    QString defaultUIFont() const { return _regular; }
    QString defaultUILightFont() const { return _light; }
    QString defaultUISemiBoldFont() const { return _semiBold; }
    // Family for a placeholder name without the "@" signs; empty when the name is no font name.
    QString familyForPlaceholder(const QString& name) const;

private:
    QString _regular;
    QString _light;
    QString _semiBold;
};

std::shared_ptr<FontFactory> createFontFactory(const QString& resourcesPath);

} // namespace KX::Brovik
