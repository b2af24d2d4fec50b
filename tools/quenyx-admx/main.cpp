// quenyx-admx: the administrative templates of the agent's settings (QuenyxAgent.admx and one QuenyxAgent.adml
// per language), made from the console's own setting catalog and text catalogs, so that a policy stores exactly
// what the console and quenyxctl store for the same choice: a string value of the agent key.
//   quenyx-admx OUT_DIR CATALOG_DIR   writes OUT_DIR/QuenyxAgent.admx and OUT_DIR/<culture>/QuenyxAgent.adml
#include "platform/EnglishCatalog.h"
#include "platform/mod_Trace.h"
#include "settings/SettingRules.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace quenyx;
using Texts = std::map<std::string, std::string, std::less<>>;

struct Language
{
    const char* culture; // the ADML folder's name
    const char* catalog; // quenyx_<catalog>.ts
};

constexpr Language kLanguages[] = {{"en-US", "en"}, {"pt-BR", "pt_BR"}, {"es-ES", "es"}};

// What a policy's element stores: a text box stores its text as a string value; a check box stores "1" when ticked
// and deletes the value when not, as the options dialog does with the users' choice.
struct Element
{
    enum Kind { TextBox, CheckBox } kind;
    std::string valueName;
    std::string label; // "@Key" or a text of kOwnTexts
};

// One policy per thing the console lets an administrator change. A text of the catalog is written as "@Key"; any
// other is a key of kOwnTexts. A policy with a switch value stores "1" when enabled and "0" when disabled, as the
// console stores a Boolean; disabling any policy deletes its elements' values, as Group Policy always does.
struct Policy
{
    std::string name; // the policy's id: the name of the value it is about, as the catalog spells it
    std::string category;
    std::string switchValue; // empty: none
    std::vector<Element> elements;
    std::string displayName;
    std::string explain;
};

// Texts that no dialog of the console shows, so that the text catalogs do not hold them: en, pt_BR, es.
const std::map<std::string, std::vector<std::string>> kOwnTexts{
    {"ConsoleTrace",
     {"Console diagnostic log", "Log de diagnóstico do console", "Registro de diagnóstico de la consola"}},
    {"ConsoleTrace_Help",
     {"Enabled, QuenyxAdmin and quenyxctl write their diagnostic log (TraceLevel 1) in the folder given "
      "(TracePath). Disabled, they write none (TraceLevel 0).",
      "Habilitada, o QuenyxAdmin e o quenyxctl gravam seu log de diagnóstico (TraceLevel 1) no diretório "
      "indicado (TracePath). Desabilitada, não gravam nenhum (TraceLevel 0).",
      "Habilitada, QuenyxAdmin y quenyxctl escriben su registro de diagnóstico (TraceLevel 1) en la carpeta "
      "indicada (TracePath). Deshabilitada, no escriben ninguno (TraceLevel 0)."}},
    {"TracePath", {"Folder of the diagnostic log", "Diretório do log de diagnóstico",
                   "Carpeta del registro de diagnóstico"}},
    {"SUPPORTED_Agent", {"Windows with the Quenyx Agent installed", "Windows com o Quenyx Agent instalado",
                         "Windows con Quenyx Agent instalado"}},
    {"Templates_Help",
     {"The settings of the Quenyx Agent, stored as QuenyxAdmin stores them.",
      "As configurações do Quenyx Agent, gravadas como o QuenyxAdmin as grava.",
      "La configuración de Quenyx Agent, guardada como la guarda QuenyxAdmin."}},
};

std::vector<Policy> Policies()
{
    std::vector<Policy> policies;
    // The settings view's catalog: a Boolean is a switch; a String or an Integer a text box (the agent reads only
    // strings, numbers included).
    for (const settings::CatalogRow& row : settings::CatalogRows()) {
        Policy policy{row.key, "Settings", {}, {}, row.key, std::string("@") + row.descriptionKey};
        if (std::string_view(row.valueType) == "Boolean")
            policy.switchValue = row.key;
        else
            policy.elements.push_back({Element::TextBox, row.key, "@Value"});
        policies.push_back(std::move(policy));
    }
    // The options dialog's secure printing: the switch, the releaser's address it needs, the users' choice.
    policies.push_back({"SecurePrintEnabled",
                        "SecurePrint",
                        "SecurePrintEnabled",
                        {{Element::TextBox, "ReleaserServer", "@ReleaserAddress"},
                         {Element::CheckBox, "SecurePrintChoiceEnabled", "@SecurePrintChoiceActivation"}},
                        "@EnableSecurePrint2",
                        "@SecurePrintRuleDescription"});
    // The console's own diagnostic log.
    policies.push_back({"TraceLevel",
                        "Trace",
                        "TraceLevel",
                        {{Element::TextBox, "TracePath", "TracePath"}},
                        "ConsoleTrace",
                        "ConsoleTrace_Help"});
    return policies;
}

struct Category
{
    const char* name;
    const char* displayName; // "@Key" from the catalog, or the text itself
};

// As the console groups them: the settings view, then the options dialog's pages.
constexpr Category kCategories[] = {
    {"Settings", "@Settings02"}, {"SecurePrint", "@rlsSafePrint"}, {"Trace", "@Trace"}};

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The text that `reference` stands for ("@Key" of the catalog, or a key of kOwnTexts) in the language `index` of
// kLanguages; empty when the catalog lacks it.
std::string TextOf(const std::string& reference, const Texts& catalog, std::size_t index)
{
    if (reference.starts_with('@')) {
        const auto found = catalog.find(reference.substr(1));
        return found == catalog.end() ? std::string() : found->second;
    }
    const auto own = kOwnTexts.find(reference);
    return own == kOwnTexts.end() ? reference : own->second[index];
}

std::string Admx(const std::vector<Policy>& policies)
{
    const std::string key = Escaped(mod_Trace::AgentKey);
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<policyDefinitions xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" revision=\"1.0\" schemaVersion=\"1.0\" "
           "xmlns=\"http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions\">\n"
           "  <policyNamespaces>\n"
           "    <target prefix=\"quenyxagent\" namespace=\"Tessaline.Policies.QuenyxAgent\" />\n"
           "  </policyNamespaces>\n"
           "  <resources minRequiredRevision=\"1.0\" />\n"
           "  <supportedOn>\n    <definitions>\n"
           "      <definition name=\"SUPPORTED_Agent\" displayName=\"$(string.SUPPORTED_Agent)\" />\n"
           "    </definitions>\n  </supportedOn>\n"
           "  <categories>\n"
           "    <category name=\"QuenyxAgent\" displayName=\"$(string.Cat_QuenyxAgent)\" />\n";
    for (const Category& category : kCategories)
        out << "    <category name=\"" << category.name << "\" displayName=\"$(string.Cat_" << category.name
            << ")\">\n      <parentCategory ref=\"QuenyxAgent\" />\n    </category>\n";
    out << "  </categories>\n  <policies>\n";
    for (const Policy& policy : policies) {
        const std::string& name = policy.name;
        out << "    <policy name=\"" << name << "\" class=\"Machine\" displayName=\"$(string." << name
            << ")\" explainText=\"$(string." << name << "_Help)\"";
        if (!policy.elements.empty())
            out << " presentation=\"$(presentation." << name << ")\"";
        out << " key=\"" << key << "\"";
        if (!policy.switchValue.empty())
            out << " valueName=\"" << policy.switchValue << "\"";
        out << ">\n      <parentCategory ref=\"" << policy.category << "\" />\n"
            << "      <supportedOn ref=\"SUPPORTED_Agent\" />\n";
        if (!policy.switchValue.empty())
            out << "      <enabledValue>\n        <string>1</string>\n      </enabledValue>\n"
                << "      <disabledValue>\n        <string>0</string>\n      </disabledValue>\n";
        if (!policy.elements.empty()) {
            out << "      <elements>\n";
            for (const Element& element : policy.elements) {
                if (element.kind == Element::TextBox)
                    out << "        <text id=\"" << element.valueName << "\" valueName=\"" << element.valueName
                        << "\" required=\"true\" maxLength=\"1023\" />\n";
                else
                    out << "        <boolean id=\"" << element.valueName << "\" valueName=\"" << element.valueName
                        << "\">\n          <trueValue>\n            <string>1</string>\n          </trueValue>\n"
                        << "          <falseValue>\n            <delete />\n          </falseValue>\n"
                        << "        </boolean>\n";
            }
            out << "      </elements>\n";
        }
        out << "    </policy>\n";
    }
    out << "  </policies>\n</policyDefinitions>\n";
    return out.str();
}

// The values a policy stores, for its explanation: what an administrator looks for in the registry.
std::string ValueNames(const Policy& policy)
{
    std::string names = mod_Trace::AgentKey;
    names += ":";
    if (!policy.switchValue.empty())
        names += " " + policy.switchValue;
    for (const Element& element : policy.elements)
        names += (names.back() == ':' ? " " : ", ") + element.valueName;
    return names;
}

std::string Adml(const std::vector<Policy>& policies, const Texts& catalog, std::size_t index, std::string& missing)
{
    const auto text = [&](const std::string& reference) {
        std::string found = TextOf(reference, catalog, index);
        if (found.empty())
            missing += " " + reference;
        return Escaped(found);
    };
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<policyDefinitionResources xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" revision=\"1.0\" schemaVersion=\"1.0\" "
           "xmlns=\"http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions\">\n"
           "  <displayName>Quenyx Agent</displayName>\n"
        << "  <description>" << text("Templates_Help") << "</description>\n"
        << "  <resources>\n    <stringTable>\n"
        << "      <string id=\"SUPPORTED_Agent\">" << text("SUPPORTED_Agent") << "</string>\n"
        << "      <string id=\"Cat_QuenyxAgent\">Quenyx Agent</string>\n";
    for (const Category& category : kCategories)
        out << "      <string id=\"Cat_" << category.name << "\">" << text(category.displayName) << "</string>\n";
    for (const Policy& policy : policies)
        out << "      <string id=\"" << policy.name << "\">" << text(policy.displayName) << "</string>\n"
            << "      <string id=\"" << policy.name << "_Help\">" << text(policy.explain) << "\n\n"
            << Escaped(ValueNames(policy)) << "</string>\n";
    out << "    </stringTable>\n    <presentationTable>\n";
    for (const Policy& policy : policies) {
        if (policy.elements.empty())
            continue;
        out << "      <presentation id=\"" << policy.name << "\">\n";
        for (const Element& element : policy.elements) {
            if (element.kind == Element::TextBox)
                out << "        <textBox refId=\"" << element.valueName << "\">\n          <label>" << text(element.label)
                    << "</label>\n        </textBox>\n";
            else
                out << "        <checkBox refId=\"" << element.valueName << "\">" << text(element.label)
                    << "</checkBox>\n";
        }
        out << "      </presentation>\n";
    }
    out << "    </presentationTable>\n  </resources>\n</policyDefinitionResources>\n";
    return out.str();
}

bool Write(const std::filesystem::path& file, const std::string& text)
{
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        std::cerr << "quenyx-admx: cannot write " << file.string() << "\n";
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: quenyx-admx OUT_DIR CATALOG_DIR\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    const std::filesystem::path catalogDir = argv[2];
    const std::vector<Policy> policies = Policies();
    bool written = Write(outDir / "QuenyxAgent.admx", Admx(policies));
    for (std::size_t index = 0; index < std::size(kLanguages); ++index) {
        const Language& language = kLanguages[index];
        const auto file = catalogDir / (std::string("quenyx_") + language.catalog + ".ts");
        std::ifstream in(file, std::ios::binary);
        std::stringstream source;
        source << in.rdbuf();
        if (!in) {
            std::cerr << "quenyx-admx: cannot read " << file.string() << "\n";
            return 1;
        }
        std::string missing;
        const std::string adml = Adml(policies, platform::CatalogTexts(source.str()), index, missing);
        // A policy without its text would show an empty name in the editor: better no templates at all.
        if (!missing.empty()) {
            std::cerr << "quenyx-admx: " << file.string() << " lacks" << missing << "\n";
            return 1;
        }
        written = Write(outDir / language.culture / "QuenyxAgent.adml", adml) && written;
    }
    return written ? 0 : 1;
}
