#include "runtime/GlossaPo.h"

#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaTools.h"
#include "runtime/LanguageExchange.h"
#include "tests/components/LanguageHost.h"

#include <gtest/gtest.h>

namespace orlo {
namespace {

using test::TLanguageTestForm;

// A form with English and German texts of two labels and a named string.
class Po : public ::testing::Test {
protected:
    void SetUp() override {
        Form = TLanguageTestForm::CreateWithComponents();
        Manager = Form->Host->Manager();
        Manager->ImportLanguagesText("[F.English]\r\nLabel1.Caption='&OK'\r\n"
                                     "Label2.Caption='Two\\nlines'\r\nHost.#Saved='Saved.'\r\n"
                                     "[F.Deutsch]\r\nLabel1.Caption='&Ja'\r\n"
                                     "Label2.Caption=\"Zwei\\nZeilen\"\r\nHost.#Saved=''\r\n",
                                     &Settings, imClearExisting, false, nullptr, nullptr, nullptr);
        ASSERT_EQ(ExchangeEntries(Manager).size(), 3u);
    }

    std::unique_ptr<TLanguageTestForm> Form;
    TLanguageManager* Manager = nullptr;
    TCESettings Settings;
};

String Body(const String& Po) {
    return Po.substr(Po.find("\n\n") + 1);
}

TEST_F(Po, ExportWritesOneMessagePerValue) {
    const String Text = ExportPo(Manager, "Deutsch", String());
    EXPECT_NE(Text.find("\"Language: de\\n\"\n\"MIME-Version: 1.0\\n\""), String::npos) << Text;
    EXPECT_NE(Text.find("\"X-Orlo-Language: Deutsch\\n\"\n\"X-Orlo-Reference-Language: "
                        "English\\n\""),
              String::npos);
    EXPECT_EQ(Body(Text), "\nmsgctxt \"Label1.Caption\"\nmsgid \"&OK\"\nmsgstr \"&Ja\"\n"
                          "\nmsgctxt \"Label2.Caption\"\nmsgid \"Two\\\\nlines\"\n"
                          "msgstr \"\"\n\"Zwei\\n\"\n\"Zeilen\"\n"
                          "\nmsgctxt \"Host.#Saved\"\nmsgid \"Saved.\"\nmsgstr \"\"\n");
    const String Template = ExportPo(Manager, String(), String());
    EXPECT_NE(Template.find("msgctxt \"Label1.Caption\"\nmsgid \"&OK\"\nmsgstr \"\"\n"),
              String::npos);
    EXPECT_THROW(ExportPo(Manager, "Klingon", String()), Exception);
}

TEST_F(Po, ReadingBackGivesTheSameMessages) {
    const TPoCatalog Catalog = ParsePo(ExportPo(Manager, "Deutsch", "English"), "de.po");
    ASSERT_EQ(Catalog.Messages.size(), 3u);
    EXPECT_EQ(Catalog.Messages[1].Context, "Label2.Caption");
    EXPECT_EQ(Catalog.Messages[1].Id, "Two\\nlines");
    EXPECT_EQ(Catalog.Messages[1].Str, "Zwei\nZeilen");
    EXPECT_EQ(PoLanguage(Catalog), "Deutsch");
    EXPECT_EQ(Catalog.Header.at("Content-Type"), "text/plain; charset=UTF-8");
}

TEST_F(Po, ChangedReferenceTextsAreMarkedFuzzyOnTheNextExport) {
    TPoCatalog Before = ParsePo(ExportPo(Manager, "Deutsch", String()), "de.po");
    // The reference text changes; the German text stays the one made for the old one.
    Form->Label1->SetCaption("&Okay");
    const String After = ExportPo(Manager, "Deutsch", String(), &Before);
    EXPECT_NE(After.find("#, fuzzy\n#| msgid \"&OK\"\nmsgctxt \"Label1.Caption\"\n"
                         "msgid \"&Okay\"\nmsgstr \"&Ja\"\n"),
              String::npos)
        << After;
    // Still fuzzy, with the oldest text, when exported once more over that file.
    const TPoCatalog Fuzzy = ParsePo(After, "de.po");
    EXPECT_TRUE(Fuzzy.Messages[0].Fuzzy);
    EXPECT_EQ(Fuzzy.Messages[0].PreviousId, "&OK");
    EXPECT_NE(ExportPo(Manager, "Deutsch", String(), &Fuzzy).find("#, fuzzy\n#| msgid \"&OK\""),
              String::npos);
}

TEST_F(Po, AnEarlierFileFillsWhatTheFormLacksAndKeepsWhatItNoLongerHas) {
    const TPoCatalog Earlier =
        ParsePo("msgctxt \"Host.#Saved\"\nmsgid \"Saved.\"\nmsgstr \"Gespeichert.\"\n\n"
                "msgctxt \"Gone.Caption\"\nmsgid \"Gone\"\nmsgstr \"Weg\"\n",
                "de.po");
    const String Text = ExportPo(Manager, "Deutsch", String(), &Earlier);
    EXPECT_NE(Text.find("msgctxt \"Host.#Saved\"\nmsgid \"Saved.\"\nmsgstr \"Gespeichert.\"\n"),
              String::npos)
        << Text;
    EXPECT_NE(Text.find("#~ msgctxt \"Gone.Caption\"\n#~ msgid \"Gone\"\n#~ msgstr \"Weg\"\n"),
              String::npos);
    EXPECT_EQ(ParsePo(Text, "x").Messages.back().Obsolete, true);
}

TEST_F(Po, ImportGoesThroughTheExchangeFormat) {
    const TPoCatalog Catalog =
        ParsePo("msgid \"\"\nmsgstr \"X-Orlo-Language: Dansk\\n\"\n\n"
                "msgctxt \"Label1.Caption\"\nmsgid \"&OK\"\nmsgstr \"&Ja tak\"\n\n"
                "msgctxt \"Label2.Caption\"\nmsgid \"Old text\"\nmsgstr \"To\\nlinjer\"\n\n"
                "msgctxt \"Label2.Hint\"\nmsgid \"x\"\nmsgstr \"\"\n\n"
                "msgid \"no context\"\nmsgstr \"ingen\"\n\n"
                "msgctxt \"Label1.Caption=x\"\nmsgid \"y\"\nmsgstr \"z\"\n",
                "da.po");
    const TPoExchange Exchange = PoToExchange(Catalog, Manager, PoLanguage(Catalog), String());
    EXPECT_EQ(Exchange.Changed, std::vector<String>{"Label2.Caption"});
    EXPECT_EQ(Exchange.Unusable,
              (std::vector<String>{"16: msgctxt \"\" names no value",
                                   "19: msgctxt \"Label1.Caption=x\" names no value"}));
    EXPECT_EQ(Exchange.Lines.at("[TLanguageTestForm.Dansk]=Label1.Caption='&Ja tak'"), 4);
    TStringList Rejected;
    Manager->ImportLanguagesText(Exchange.Text, nullptr, imAddAll, false, nullptr, nullptr,
                                 &Rejected);
    EXPECT_EQ(Rejected.Count(), 0);
    ASSERT_TRUE(Form->Host->SetLanguage("Dansk"));
    EXPECT_EQ(Form->Label1->Caption(), "&Ja tak");
    EXPECT_EQ(Form->Label2->Caption(), "To\nlinjer");
}

TEST(PoFile, MalformedFilesNameFileAndLine) {
    const struct {
        const char* Text;
        const char* Message;
    } Cases[] = {
        {"msgid \"a\nmsgstr \"\"\n", "f.po:1: string expected"},
        {"msgstr \"x\"\n", "f.po:1: msgstr without msgid"},
        {"msgid \"a\"\nmsgid \"b\"\n", "f.po:2: msgid without msgstr"},
        {"msgid \"a\"\n\n", "f.po:2: message without msgstr"},
        {"msgctxt \"c\"\nmsgid \"a\"\nmsgctxt \"d\"\n", "f.po:3: msgctxt after msgid"},
        {"\"lonely\"\n", "f.po:1: string outside a message"},
        {"msgfoo \"a\"\n", "f.po:1: unknown keyword msgfoo"},
        {"msgid \"a\\q\"\nmsgstr \"\"\n", "f.po:1: unknown escape \\q"},
        {"msgid \"a\" \"b\"\nmsgstr \"\"\n", "f.po:1: unescaped quote in string"},
        {"msgid\n", "f.po:1: keyword without a string"},
        {"msgid \"a\\\"\nmsgstr \"\"\n", "f.po:1: string ends in a backslash"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        try {
            ParsePo(Case.Text, "f.po");
            ADD_FAILURE() << "no error";
        } catch (const EPoError& E) {
            EXPECT_EQ(E.Message(), Case.Message);
        }
    }
}

TEST(PoFile, WhatGettextWritesIsRead) {
    const TPoCatalog Catalog =
        ParsePo("# translator comment\r\n#: src.cpp:1\r\n#, fuzzy, c-format\r\n"
                "#| msgctxt \"x\"\r\n#| msgid \"\"\r\n#| \"old\"\r\n"
                "msgctxt \"k\"\r\nmsgid \"\"\r\n\"a\\tb\"\r\n"
                "msgstr \"\\\"\\\\\"\r\n\r\n"
                "msgid \"one\"\r\nmsgid_plural \"many\"\r\n"
                "msgstr[0] \"eins\"\r\nmsgstr[1] \"viele\"\r\n"
                "#~ msgid \"gone\"\r\n#~ msgstr \"weg\"\r\n",
                "g.po");
    ASSERT_EQ(Catalog.Messages.size(), 3u);
    EXPECT_EQ(Catalog.Messages[0].Id, "a\tb");
    EXPECT_EQ(Catalog.Messages[0].Str, "\"\\");
    EXPECT_TRUE(Catalog.Messages[0].Fuzzy);
    EXPECT_EQ(Catalog.Messages[0].PreviousId, "old");
    EXPECT_EQ(Catalog.Messages[1].Str, "eins");
    EXPECT_TRUE(Catalog.Messages[2].Obsolete);
    // Not UTF-8: read as Windows-1252.
    EXPECT_EQ(ParsePo("msgctxt \"k\"\nmsgid \"\"\nmsgstr \"\xE9\"\n", "w.po").Messages[0].Str,
              "\xC3\xA9");
}

TEST(PoFile, LanguageCodes) {
    const std::pair<const char*, const char*> Cases[] = {{"German", "de"},   {"Deutsch", "de"},
                                                         {"Français", "fr"}, {"english", "en"},
                                                         {"Klingon", ""},    {"", ""}};
    for (const auto& [Name, Code] : Cases)
        EXPECT_EQ(LanguageCode(Name), Code) << Name;
    TPoCatalog Catalog;
    Catalog.Header["Language"] = "pt_BR";
    EXPECT_EQ(PoLanguage(Catalog), "Portuguese");
    Catalog.Header["X-Orlo-Language"] = "Português";
    EXPECT_EQ(PoLanguage(Catalog), "Português");
}

} // namespace
} // namespace orlo
