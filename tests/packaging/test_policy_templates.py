#!/usr/bin/env python3
"""The Group Policy templates: the ADMX and the ADML parse, name each other's
strings and presentations, and write exactly the key, value names and mode
texts the launcher reads (taken from its sources), with the Settings dialog's
option captions, in English (en-US) and German (de-DE)."""
import os
import re
import unittest
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import launcher_texts  # noqa: E402
POLICY = os.path.join(ROOT, "packaging", "policy")
NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}


def source(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        return f.read()


def wide_constant(text, name):
    value = re.search(name + r'\[\] =\s*L"((?:[^"\\]|\\.)*)"', text).group(1)
    return value.replace("\\\\", "\\")


class PolicyTemplatesTest(unittest.TestCase):
    folder, language = "en-US", "English"

    @classmethod
    def setUpClass(cls):
        cls.admx = ET.parse(os.path.join(POLICY, "Tolvane.admx")).getroot()
        cls.adml = ET.parse(os.path.join(POLICY, cls.folder, "Tolvane.adml")).getroot()
        layout = source("registry/portable/RegistryLayout.h")
        modes = source("launcher/portable/WindowModes.h")
        cls.key = wide_constant(layout, "kPolicyKey")
        cls.favourites_key = wide_constant(layout, "kPolicyFavouritesKey")
        cls.values = {"Folder": wide_constant(layout, "kFolderValue"), "Mode": wide_constant(layout, "kModeValue"),
                      "Hotkey": wide_constant(layout, "kHotkeyValue")}
        # {L"name", show state, TextId::caption} rows of the one table of window modes
        rows = re.findall(r'\{L"([^"]*)", \d+, TextId::(\w+)\}', modes[modes.index("kWindowModes"):])
        texts = launcher_texts.texts(cls.language)
        cls.modes = [name for name, _ in rows]
        cls.captions = [texts[caption].replace("&", "") for _, caption in rows]  # without the access keys
        cls.strings = {s.get("id"): s.text for s in cls.adml.iterfind(".//p:stringTable/p:string", NS)}
        cls.presentations = {p.get("id"): p for p in cls.adml.iterfind(".//p:presentationTable/p:presentation", NS)}

    def string(self, reference):
        match = re.fullmatch(r"\$\(string\.(\w+)\)", reference)
        self.assertIsNotNone(match, reference)
        self.assertIn(match.group(1), self.strings, "the ADML lacks " + reference)
        return self.strings[match.group(1)]

    def test_every_reference_resolves(self):
        for element in self.admx.iter():
            for attribute in ("displayName", "explainText"):
                if element.get(attribute):
                    self.string(element.get(attribute))
        for policy in self.admx.iterfind(".//p:policy", NS):
            presentation = re.fullmatch(r"\$\(presentation\.(\w+)\)", policy.get("presentation")).group(1)
            self.assertIn(presentation, self.presentations)
            ids = {e.get("id") for e in policy.find("p:elements", NS)}
            refs = {e.get("refId") for e in self.presentations[presentation]}
            self.assertEqual(ids, refs, policy.get("name"))
        # Each namespace the ADMX uses is referred to ("windows:SUPPORTED_...").
        refs = [e.get("ref") for e in self.admx.iter() if e.get("ref")]
        for using in self.admx.iterfind("p:policyNamespaces/p:using", NS):
            self.assertTrue(any(r.startswith(using.get("prefix") + ":") for r in refs), using.get("prefix"))

    def test_policies_write_what_the_launcher_reads(self):
        policies = {p.get("name"): p for p in self.admx.iterfind(".//p:policy", NS)}
        self.assertEqual(set(policies), {"Folder", "Mode", "Hotkey", "FavouriteFolders"})
        # The favourites: a value each under their own key, named for the favourite.
        favourites = policies.pop("FavouriteFolders")
        self.assertEqual(favourites.get("class"), "Both")
        lists = list(favourites.find("p:elements", NS))
        self.assertEqual([(e.tag.split("}")[1], e.get("key"), e.get("explicitValue"), e.get("valuePrefix"))
                          for e in lists], [("list", self.favourites_key, "true", None)])
        for name, policy in policies.items():
            with self.subTest(policy=name):
                # For computers and for users alike.
                self.assertEqual(policy.get("class"), "Both")
                self.assertEqual(policy.get("key"), self.key)
                elements = list(policy.find("p:elements", NS))
                self.assertEqual([e.get("valueName") for e in elements], [self.values[name]])
        for name in ("Folder", "Hotkey"):
            self.assertIsNotNone(policies[name].find("p:elements/p:text", NS), name)
        items = policies["Mode"].findall("p:elements/p:enum/p:item", NS)
        shown = [(self.string(item.get("displayName")), item.find("p:value/p:string", NS).text) for item in items]
        self.assertEqual(shown, list(zip(self.captions, self.modes)))


class GermanPolicyTemplatesTest(PolicyTemplatesTest):
    folder, language = "de-DE", "German"


if __name__ == "__main__":
    unittest.main(verbosity=2)
