"""Parser and generator of the stand-in header tool, run on the fixture header and on broken input."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOL = os.path.join(HERE, "..", "..", "..", "..", "StandIn", "HeaderTool", "korvat_header_tool.py")
sys.path.insert(0, os.path.dirname(TOOL))
import korvat_header_tool as ht  # noqa: E402

FIXTURE = os.path.join(HERE, "Public", "ReflectionFixture.h")


def parse(text, name="Sample.h"):
    return ht.Parser(name, text, "Sample", []).parse()


class FixtureParsing(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(FIXTURE, encoding="utf-8") as f:
            cls.header = ht.Parser(FIXTURE, f.read(), "FixtureModule", []).parse()

    def test_types_and_bodies_are_found_with_their_lines(self):
        h = self.header
        self.assertEqual([c.name for c in h.classes], ["UFixtureListener", "UFixtureFunctionLibrary", "UFixtureComponent", "UFixtureOwner", "UFixtureDerivedComponent"])
        self.assertEqual([s.name for s in h.structs], ["FFixtureField", "FFixtureFieldFromHost"])
        self.assertEqual([e.name for e in h.enums], ["FixtureFieldType", "FixturePlainEnum", "FixtureStatus"])
        self.assertEqual([d.name for d in h.delegates], ["FFixtureEventCallback"])
        self.assertEqual([c.name for c in h.native_interfaces], ["IFixtureListener"])
        comp = h.classes[2]
        self.assertEqual(comp.bases, ["UObject", "IFixtureListener"])
        self.assertEqual(comp.interfaces, ["IFixtureListener"])
        self.assertEqual(comp.ctor_kinds, ["default"])
        self.assertEqual(h.classes[4].ctor_kinds, ["initializer"])

    def test_function_parameters_types_and_flags(self):
        lib = self.header.classes[1]
        get = lib.functions[0]
        self.assertEqual(get.name, "GetFixtureIntValue")
        self.assertTrue(get.is_static)
        self.assertEqual(get.return_type, "int32")
        self.assertEqual([(p.name, p.type_text, p.value_type) for p in get.params],
                         [("nodeName", "const FString&", "FString"), ("fieldName", "const FString&", "FString"), ("isAvailable", "bool&", "bool")])
        self.assertEqual(get.params[2].flags, ["CPF_Parm", "CPF_OutParm"])
        # 'const FString&' loses its reference and const (the engine's tool treats it as a value); the const
        # is kept as NativeConst metadata.
        self.assertEqual(get.params[0].flags, ["CPF_Parm"])
        self.assertEqual(get.params[0].meta, {"NativeConst": ""})
        self.assertEqual(get.meta["BlueprintInternalUseOnly"], "true")
        self.assertTrue(get.meta["ToolTip"].startswith("Get an integer value from the fixture\n@param nodeName"))
        join = next(f for f in lib.functions if f.name == "JoinNames")
        self.assertEqual(join.params[1].type_text, "const TMap<FString, int32>&")
        self.assertEqual(join.params[2].default, "1")
        self.assertEqual(ht.Generator("M", "M_API", [self.header], "/Script/M").function_flags(next(f for f in lib.functions if f.name == "IsFixtureConnected")),
                         ["FUNC_Final", "FUNC_Native", "FUNC_Static", "FUNC_Public", "FUNC_BlueprintCallable", "FUNC_BlueprintPure"])

    def test_enum_entries_keep_display_names_and_comments(self):
        e = self.header.enums[0]
        self.assertEqual(e.cpp_form, "EnumClass")
        self.assertEqual(e.underlying, "uint8")
        self.assertEqual([x.name for x in e.entries], ["Float", "Int", "Bool", "IntArray", "Hidden"])
        self.assertEqual(e.entries[1].meta, {"DisplayName": "Integer"})
        self.assertEqual(e.entries[2].meta["ToolTip"], "A true/false value")
        self.assertEqual(e.entries[4].meta, {"Hidden": ""})

    def test_properties_flags_access_and_bitfields(self):
        comp = self.header.classes[2]
        props = {p.name: p for p in comp.properties}
        self.assertEqual(props["EventCount"].flags, ["CPF_Edit", "CPF_BlueprintVisible"])
        self.assertTrue(props["bEnabled"].bitfield)
        self.assertEqual(props["Target"].type_text, "TObjectPtr<UObject>")
        self.assertEqual(props["ProtectedName"].access, "protected")
        self.assertEqual(props["PrivateScale"].access, "private")


class Errors(unittest.TestCase):
    def assertParseError(self, text, line, fragment):
        with self.assertRaises(ht.HeaderToolError) as ctx:
            parse(text)
        self.assertEqual(ctx.exception.line, line)
        self.assertIn(fragment, ctx.exception.message)
        self.assertTrue(str(ctx.exception).startswith(f"Sample.h:{line}: error: "))

    def test_parameter_defaults_take_the_engine_inner_format(self):
        h = parse('#include "Sample.generated.h"\nUENUM()\nenum class EOrder : uint8 { XYZ, ZYX };\nUCLASS()\nclass UA : public UObject\n{\n\tGENERATED_BODY()\n'
                  '\tUFUNCTION()\n\tstatic void F(EOrder order = EOrder::ZYX, const FVector& scale = FVector(1.f, 1.f, 1.f), float f = 0.5f,'
                  ' const FString& s = TEXT("hi"), const FVector& up = FVector::UpVector, bool b = true, UObject* o = nullptr, int32 n = -3);\n};\n')
        meta = {k[len("CPP_Default_"):]: v for k, v in h.classes[0].functions[0].params[0].meta.items()}
        params = h.classes[0].functions[0].params
        got = {p.name: p.meta["CPP_Default_" + p.name] for p in params}
        self.assertEqual(got, {"order": "ZYX", "scale": "1.000000,1.000000,1.000000", "f": "0.500000", "s": "hi",
                               "up": "0.000000,0.000000,1.000000", "b": "true", "o": "None", "n": "-3"})
        self.assertEqual(meta, {"order": "ZYX"})
        self.assertParseError('#include "Sample.generated.h"\nUCLASS()\nclass UA : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid F(float f = Half());\n};\n', 7, "cannot be converted")

    def test_unknown_specifier(self):
        self.assertParseError('#include "Sample.generated.h"\nUCLASS()\nclass UA : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION(BlueprintCalable)\n\tvoid F();\n};\n', 6, "Unknown UFUNCTION specifier 'BlueprintCalable'")

    def test_missing_generated_body_and_include(self):
        self.assertParseError('#include "Sample.generated.h"\nUCLASS()\nclass UA : public UObject\n{\n};\n', 2, "needs GENERATED_BODY")
        self.assertParseError('USTRUCT()\nstruct FA\n{\n\tGENERATED_BODY()\n};\n', 1, 'Sample.generated.h')

    def test_unnamed_parameter_and_non_uint8_blueprint_enum(self):
        self.assertParseError('#include "Sample.generated.h"\nUCLASS()\nclass UA : public UObject\n{\n\tGENERATED_BODY()\n\tUFUNCTION()\n\tvoid F(int32);\n};\n', 7, "must be named")
        self.assertParseError('#include "Sample.generated.h"\n\nUENUM(BlueprintType)\nenum class E : int32 { A };\n', 4, "uint8")

    def test_comments_strings_and_preprocessor_are_skipped(self):
        h = parse('#include "Sample.generated.h"\n// UCLASS()\n/* UCLASS() */\nconst char* S = "UCLASS()";\n#if 0\nUCLASS()\n#endif\n#define X(a) \\\n  UCLASS()\nUENUM()\nenum class E : uint8 { A, B = 1 << 2 };\n')
        self.assertEqual([e.name for e in h.enums], ["E"])
        self.assertEqual(h.classes, [])

    def test_command_line_reports_errors_and_exits_non_zero(self):
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "Bad.h")
            with open(bad, "w") as f:
                f.write('#include "Bad.generated.h"\nUCLASS(Nope)\nclass UA : public UObject\n{\n\tGENERATED_BODY()\n};\n')
            run = subprocess.run([sys.executable, TOOL, "--module", "M", "--api-macro", "M_API", "--output-dir", tmp,
                                  "--init-file", os.path.join(tmp, "M.init.gen.cpp"), bad], capture_output=True, text=True)
            self.assertEqual(run.returncode, 1)
            self.assertEqual(run.stderr.strip(), f"{bad}:2: error: Unknown UCLASS specifier 'Nope'")
            self.assertFalse(os.path.exists(os.path.join(tmp, "M.init.gen.cpp")))


class EditorNodeTypes(unittest.TestCase):
    """What Blueprint node classes and the structures they edit need from the tool."""

    NODE = ('#include "Sample.generated.h"\n'
            'class ISync\n{\npublic:\n\tvirtual ~ISync() = default;\n};\n'
            'USTRUCT(BlueprintType)\nstruct FField\n{\n\tGENERATED_BODY()\n'
            '\tUPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Field")\n\tFString name;\n};\n'
            'USTRUCT(BlueprintType)\nstruct FFieldFromHost : public FField\n{\n\tGENERATED_BODY()\n'
            '\tUPROPERTY(EditAnywhere, EditConst, Category = "Field")\n\tint32 direction = 1;\n};\n'
            'UCLASS()\nclass UNodeA : public UK2Node, public ISync\n{\n\tGENERATED_BODY()\npublic:\n'
            '\tUPROPERTY(EditAnywhere, Category = "Sync")\n\tTArray<FFieldFromHost> fields;\n'
            '\tUPROPERTY(EditAnywhere, Category = "Sync")\n\tEOtherModuleEnum kind;\n'
            '\tUFUNCTION(BlueprintCallable)\n\tstatic void F(FString& out, const TArray<float>& items, const UObject* o);\n};\n')

    @classmethod
    def setUpClass(cls):
        cls.header = parse(cls.NODE)
        cls.gen = ht.Generator("Sample", "SAMPLE_API", [cls.header], "/Script/Sample")

    def test_a_plain_base_after_the_object_base_is_not_registered_as_an_interface(self):
        node = self.header.classes[0]
        self.assertEqual(node.bases, ["UK2Node", "ISync"])
        self.assertEqual(self.header.native_interfaces, [])
        self.assertEqual(self.gen.reflected_interfaces(node), [])
        text = self.gen.class_registration(self.header, node, "/Script/Sample")
        self.assertIn('static_assert(!UECodeGen_Private::TIsReflectedNativeInterface<ISync>, '
                      '"ISync is the native side of an interface this module does not declare");', text)
        self.assertNotIn("FImplementedInterfaceParams", text)

    def test_an_interface_of_this_module_is_still_registered(self):
        h = parse('#include "Sample.generated.h"\nUINTERFACE()\nclass USync : public UInterface\n{\n\tGENERATED_BODY()\n};\n'
                  'class ISync\n{\n\tGENERATED_BODY()\n};\n'
                  'UCLASS()\nclass UNodeA : public UK2Node, public ISync\n{\n\tGENERATED_BODY()\n};\n')
        gen = ht.Generator("Sample", "SAMPLE_API", [h], "/Script/Sample")
        node = h.classes[1]
        self.assertEqual(gen.reflected_interfaces(node), ["ISync"])
        text = gen.class_registration(h, node, "/Script/Sample")
        self.assertIn("{ &USync::StaticClass, (int32)((char*)static_cast<ISync*>((UNodeA*)0x1000) - (char*)0x1000) },", text)
        self.assertNotIn("static_assert", text)

    def test_derived_struct_names_its_super_and_edit_specifiers_set_their_flags(self):
        base, derived = self.header.structs
        self.assertEqual(derived.super_name, "FField")
        self.assertIsNone(base.super_name)
        self.assertEqual(base.properties[0].flags, ["CPF_Edit", "CPF_BlueprintVisible"])
        self.assertEqual(derived.properties[0].flags, ["CPF_Edit", "CPF_EditConst"])
        text = self.gen.struct_registration(derived, "/Script/Sample")
        self.assertIn("[]() -> UScriptStruct* { return FField::StaticStruct(); }, TEXT(\"FieldFromHost\")", text)

    def test_array_properties_carry_a_record_of_their_element(self):
        text = self.gen.class_registration(self.header, self.header.classes[0], "/Script/Sample")
        self.assertIn('static const UECodeGen_Private::FPropertyParams Props_fields_Inner = { TEXT("fields"), CPF_None, '
                      'TEXT("FFieldFromHost"), UECodeGen_Private::EPropertyKind::Struct, 0, (int32)sizeof(FFieldFromHost), '
                      '(int32)alignof(FFieldFromHost), []() -> UObject* { return FFieldFromHost::StaticStruct(); }, nullptr, '
                      'nullptr, 0, nullptr, nullptr, 1, UECodeGen_Private::MakeStructOps<FFieldFromHost>(), nullptr };', text)
        self.assertIn("UECodeGen_Private::MakeStructOps<TArray<FFieldFromHost>>(), &Props_fields_Inner },", text)

    def test_a_type_of_another_module_is_classified_by_the_compiler(self):
        kind, related = self.gen.type_kind("EOtherModuleEnum")
        self.assertEqual(kind, "UECodeGen_Private::KindOfOtherModuleType<EOtherModuleEnum>()")
        self.assertEqual(related, "&UECodeGen_Private::RelatedTypeOfOtherModuleType<EOtherModuleEnum>")

    def test_reference_and_const_parameter_flags(self):
        fn = self.header.classes[0].functions[0]
        out, items, obj = fn.params
        self.assertEqual(out.flags, ["CPF_Parm", "CPF_OutParm"])
        self.assertEqual(items.flags, ["CPF_Parm", "CPF_OutParm", "CPF_ReferenceParm", "CPF_ConstParm"])
        self.assertEqual(items.meta, {"NativeConst": ""})
        self.assertEqual(obj.flags, ["CPF_Parm", "CPF_ConstParm"])
        self.assertEqual(obj.meta, {"NativeConst": ""})

    def test_unknown_property_and_class_specifiers_stay_errors(self):
        with self.assertRaises(ht.HeaderToolError) as ctx:
            parse('#include "Sample.generated.h"\nUCLASS()\nclass UA : public UK2Node\n{\n\tGENERATED_BODY()\n'
                  '\tUPROPERTY(EditAnywhere, ReadWrite)\n\tint32 A;\n};\n')
        self.assertEqual(ctx.exception.line, 6)
        self.assertIn("Unknown UPROPERTY specifier 'ReadWrite'", ctx.exception.message)
        with self.assertRaises(ht.HeaderToolError) as ctx:
            parse('#include "Sample.generated.h"\nUCLASS(Blueprintabel)\nclass UA : public UK2Node\n{\n\tGENERATED_BODY()\n};\n')
        self.assertIn("Unknown UCLASS specifier 'Blueprintabel'", ctx.exception.message)


if __name__ == "__main__":
    unittest.main()
