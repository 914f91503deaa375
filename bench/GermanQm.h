#pragma once
// The German translations of a benchmark's texts as a .qm file for
// QTranslator: a .ts file written here, compiled by lrelease (ORLO_LRELEASE).

#include "platform/rtl/Types.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

namespace orlo {

// Pairs of English source and German translation, all in one context.
inline QString MakeGermanQm(const QTemporaryDir& Dir, const char* Context,
                            const std::vector<std::pair<String, String>>& Texts) {
    const QString Ts = Dir.filePath("german.ts");
    const QString Qm = Dir.filePath("german.qm");
    QFile File(Ts);
    if (!File.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the .ts file");
    const auto Escaped = [](const String& S) {
        return QString::fromStdString(S).toHtmlEscaped().toUtf8();
    };
    QByteArray Text = QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                                 "<TS version=\"2.1\" language=\"de_DE\">\n<context>\n<name>") +
                      Context + "</name>\n";
    for (const auto& [English, German] : Texts)
        Text += "<message><source>" + Escaped(English) + "</source><translation>" +
                Escaped(German) + "</translation></message>\n";
    Text += "</context>\n</TS>\n";
    File.write(Text);
    File.close();
    const String Command =
        String(ORLO_LRELEASE) + " -silent " + Ts.toStdString() + " -qm " + Qm.toStdString();
    if (std::system(Command.c_str()) != 0)
        throw std::runtime_error("lrelease failed");
    return Qm;
}

// Qt's way to switch: the translator in (German) or out (English), then
// Retranslate sets every text anew and the pending events are handled.
template <class Retranslate>
void SwitchQtLanguage(QTranslator& GermanTranslator, bool German, Retranslate&& Apply) {
    if (German)
        QCoreApplication::installTranslator(&GermanTranslator);
    else
        QCoreApplication::removeTranslator(&GermanTranslator);
    Apply();
    QCoreApplication::processEvents();
}

} // namespace orlo
