#pragma once

#include "platform/brovik/editorcore/model/Fill.h"
#include "platform/brovik/editorcore/model/Stroke.h"
#include "platform/brovik/editorcore/package/ZipReader.h"

#include <QDomDocument>
#include <QHash>
#include <memory>
#include <optional>
#include <vector>

namespace KX::Tovrin {

// A style with everything it inherits: its own element, its parents, and the family's default
// style, most specific first. Properties are looked up along the chain.
class OdfStyleChain {
public:
    void append(const QDomElement& style) { _styles.push_back(style); }
    void append(const OdfStyleChain& other) {
        _styles.insert(_styles.end(), other._styles.begin(), other._styles.end());
    }
    bool empty() const { return _styles.empty(); }

    // The first value of ns:name found in a properties child (e.g. "graphic-properties").
    QString property(const char* propertiesElement, const char* ns, const char* name) const;
    // The first properties child of that name that has a child element named child.
    QDomElement propertyChild(const char* propertiesElement, const char* child) const;
    const std::vector<QDomElement>& styles() const { return _styles; }

private:
    std::vector<QDomElement> _styles;
};

// The styles of an OpenDocument presentation: automatic styles of content.xml and styles.xml,
// common styles, default styles, list styles, font faces, and the named fill resources
// (gradients, images, hatches).
class OdpStyles {
public:
    OdpStyles(const ZipReader& zip, const QDomDocument& content, const QDomDocument& styles);

    // The same styles as seen from the master pages: styles.xml's automatic styles win over
    // content.xml's, which may reuse their names for other styles.
    OdpStyles forMasterPages() const;

    // The chain of a style by family ("graphic", "presentation", "paragraph", "text",
    // "drawing-page", "table-cell", ...) and name; an unknown name gives just the default style.
    // OwnOnly leaves the family's default style out, for chains that continue elsewhere.
    enum Defaults { WithDefault, OwnOnly };
    OdfStyleChain chain(const QString& family, const QString& name, Defaults defaults = WithDefault) const;
    QDomElement listStyle(const QString& name) const;
    // A table:table-template by the name tables refer to it with.
    QDomElement tableTemplate(const QString& name) const;
    QDomElement masterPage(const QString& name) const;
    QDomElement firstMasterPage() const;
    QDomElement pageLayout(const QString& name) const;
    // The font family for a style:font-name.
    QString fontFamily(const QString& fontName) const;

    // Fill and outline described by graphic-like properties along a chain. Nullopt for fill when
    // the chain does not say (draw:fill absent).
    std::optional<Fill> fill(const OdfStyleChain& chain, const char* propertiesElement) const;
    Stroke stroke(const OdfStyleChain& chain) const;

    const ZipReader& zip() const { return _zip; }

    // A picture inside the package, shared between uses; nullptr when missing.
    std::shared_ptr<const PictureData> picture(const QString& href) const;

private:
    QDomElement find(const QString& family, const QString& name) const;

    const ZipReader& _zip;
    QHash<QString, QDomElement> _styles;       // "family/name", as seen from content.xml
    QHash<QString, QDomElement> _masterStyles; // "family/name", as seen from styles.xml
    bool _masterScope = false;
    QHash<QString, QDomElement> _defaults; // family
    QHash<QString, QDomElement> _listStyles;
    QHash<QString, QDomElement> _tableTemplates;
    QHash<QString, QDomElement> _masterPages;
    QDomElement _firstMaster;
    QHash<QString, QDomElement> _pageLayouts;
    QHash<QString, QString> _fonts;
    QHash<QString, QDomElement> _gradients;
    QHash<QString, QDomElement> _fillImages;
    QHash<QString, QDomElement> _hatches;
    QHash<QString, QDomElement> _markers;
    mutable QHash<QString, std::shared_ptr<const PictureData>> _pictures;
};

} // namespace KX::Tovrin
