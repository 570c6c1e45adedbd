// SPDX-License-Identifier: MIT
#include "InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace designed {

namespace {

// Where the program's own translations are embedded, as velmora_<language>.qm.
const QString OwnTranslations = QStringLiteral(":/i18n");
const QString DesignedLanguage = QStringLiteral("ja");
const QString FallbackLanguage = QStringLiteral("en");

// What the interface speaks: the designed texts (no translator) or a
// translation, and the language whose Qt translations go with it.
struct Choice
{
    std::unique_ptr<QTranslator> own;
    QString qtLanguage;
};

// QTranslator::load() takes a file name and falls back from velmora_en_GB to
// velmora_en by itself; uiLanguages() gives BCP 47 names (en-GB).
QString fileSuffix(const QString &language)
{
    return QString(language).replace(u'-', u'_');
}

std::unique_ptr<QTranslator> ownTranslation(const QString &language)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(u"velmora_" % fileSuffix(language), OwnTranslations))
        return nullptr;
    return translator;
}

Choice choose(const QStringList &uiLanguages)
{
    if (uiLanguages.isEmpty())
        return {nullptr, DesignedLanguage};
    for (qsizetype i = 0; i < uiLanguages.size(); ++i) {
        const QString &name = uiLanguages[i];
        const QLocale::Language language = QLocale(name).language();
        // Qt also lists "C" after a language it does not know, as that
        // language's nearest locale: only a list that starts with it is the
        // C locale.
        if ((i == 0 && name == u"C") || language == QLocale::Japanese)
            return {nullptr, DesignedLanguage};
        if (language == QLocale::C)
            continue;
        if (auto own = ownTranslation(name))
            return {std::move(own), fileSuffix(name)};
    }
    // An embedded translation always loads; were it missing, the designed
    // texts would show, and the answer says so.
    if (auto own = ownTranslation(FallbackLanguage))
        return {std::move(own), FallbackLanguage};
    return {nullptr, DesignedLanguage};
}

// Installs `translator` (or nothing) in place of the one `slot` held.
void replace(QPointer<QTranslator> &slot, QTranslator *translator)
{
    // A translator takes itself out of the application as it goes.
    delete slot.data();
    slot = translator;
    if (translator) {
        translator->setParent(QCoreApplication::instance());
        QCoreApplication::installTranslator(translator);
    }
}

} // namespace

QString installTranslations(const QStringList &uiLanguages)
{
    static QPointer<QTranslator> ownInstalled, qtInstalled;

    Choice choice = choose(uiLanguages);
    const QString chosen = choice.own ? choice.own->language() : DesignedLanguage;
    replace(ownInstalled, choice.own.release());

    auto qt = std::make_unique<QTranslator>();
    if (!qt->load(u"qtbase_" % choice.qtLanguage,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        qt.reset();
    replace(qtInstalled, qt.release());
    return chosen;
}

QString installTranslations()
{
    return installTranslations(QLocale::system().uiLanguages());
}

} // namespace designed
