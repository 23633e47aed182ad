// The stand-in's details panel as an editor module's customization uses it: the property editor module's
// registry, a customization with a text and a button built with Slate's declarative syntax, clicks through the
// test panel, the edit notifications of properties and arrays, and the application style.
#include <gtest/gtest.h>

#include <string>

#include "CoreUObjectTesting.h"
#include "DetailCategoryBuilder.h"
#include "DetailLayoutBuilder.h"
#include "DetailWidgetRow.h"
#include "EditorFixtureClasses.h"
#include "EngineTesting.h"
#include "IDetailCustomization.h"
#include "Modules/ModuleManager.h"
#include "PropertyEditorModule.h"
#include "PropertyEditorTesting.h"
#include "StandInTesting.h"
#include "Styling/AppStyle.h"
#include "Templates/Casts.h"
#include "Textures/SlateIcon.h"
#include "UObject/UnrealType.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Text/STextBlock.h"

#define LOCTEXT_NAMESPACE "EditorDetailsTests"

namespace
{
	std::string S(const FString& Text)
	{
		FTCHARToUTF8 Converted(*Text);
		return std::string(Converted.Get(), (size_t)Converted.Length());
	}

	std::string S(const FText& Text)
	{
		return S(Text.ToString());
	}

	std::string S(const FName& Name)
	{
		return S(Name.ToString());
	}

	/** A customization of the sync node as an editor module writes one: a label and a button that asks for a sync. */
	class FFixtureSyncCustomization : public IDetailCustomization
	{
	public:
		static TSharedRef<IDetailCustomization> MakeInstance()
		{
			++NumMade;
			return MakeShareable(new FFixtureSyncCustomization());
		}

		virtual void CustomizeDetails(IDetailLayoutBuilder& DetailBuilder) override
		{
			TArray<TWeakObjectPtr<UObject>> Objects;
			DetailBuilder.GetObjectsBeingCustomized(Objects);
			if (Objects.Num() == 1)
			{
				Node = Cast<UEditorFixtureSyncNode>(Objects[0].Get());
			}

			DetailBuilder.EditCategory(TEXT("Fixture Sync"), LOCTEXT("SyncCategory", "Sync with the host"))
				.AddCustomRow(LOCTEXT("SyncRow", "Sync"))
				.NameContent()
				[
					SNew(STextBlock)
					.Text(LOCTEXT("SyncLabel", "Fields"))
					.Font(IDetailLayoutBuilder::GetDetailFont())
				]
				.ValueContent()
				.MinDesiredWidth(200.0f)
				[
					SNew(SButton)
					.Text(LOCTEXT("SyncButton", "Do Sync"))
					.IsEnabled(bButtonEnabled)
					.OnClicked(this, &FFixtureSyncCustomization::OnSyncClicked)
				];
		}

		FReply OnSyncClicked()
		{
			UEditorFixtureSyncNode* SyncNode = Node.Get();
			if (!SyncNode)
			{
				return FReply::Unhandled();
			}
			++SyncNode->SyncRequests;
			return FReply::Handled();
		}

		static int32 NumMade;
		static bool bButtonEnabled;

	private:
		TWeakObjectPtr<UEditorFixtureSyncNode> Node;
	};

	int32 FFixtureSyncCustomization::NumMade = 0;
	bool FFixtureSyncCustomization::bButtonEnabled = true;

	/** A customization of a base class, which the panel of a derived class applies first. */
	class FK2NodeCustomization : public IDetailCustomization
	{
	public:
		virtual void CustomizeDetails(IDetailLayoutBuilder& DetailBuilder) override
		{
			DetailBuilder.EditCategory(TEXT("Node"))
				.AddCustomRow(LOCTEXT("NodeRow", "Node"), true)
				[
					SNew(STextBlock).Text(LOCTEXT("NodeText", "A node"))
				];
			DetailBuilder.EditCategory(TEXT("Fixture Sync"));
		}
	};

	FPropertyEditorModule& PropertyEditor()
	{
		return FModuleManager::LoadModuleChecked<FPropertyEditorModule>(TEXT("PropertyEditor"));
	}

	class EditorDetails_test : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			StandInTesting::SetLogEchoToStderr(false);
			FFixtureSyncCustomization::NumMade = 0;
			FFixtureSyncCustomization::bButtonEnabled = true;
			PropertyEditor().RegisterCustomClassLayout(TEXT("EditorFixtureSyncNode"),
				FOnGetDetailCustomizationInstance::CreateStatic(&FFixtureSyncCustomization::MakeInstance));
			Node = NewObject<UEditorFixtureSyncNode>();
		}

		void TearDown() override
		{
			FModuleManager::Get().UnloadModule(TEXT("PropertyEditor"));
			CoreUObjectTesting::ResetObjects();
		}

		UEditorFixtureSyncNode* Node = nullptr;
	};

	TEST_F(EditorDetails_test, TheModuleKeepsLayoutsByClassNameUntilUnregisteredOrUnloaded)
	{
		EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("PropertyEditor")));
		PropertyEditor().RegisterCustomClassLayout(TEXT("K2Node"), FOnGetDetailCustomizationInstance::CreateLambda([]()
		{
			return TSharedRef<IDetailCustomization>(MakeShared<FK2NodeCustomization>());
		}));
		TArray<FName> Names = PropertyEditorTesting::GetRegisteredClassLayouts();
		ASSERT_EQ(Names.Num(), 2);
		EXPECT_EQ(S(Names[0]), "EditorFixtureSyncNode");
		EXPECT_EQ(S(Names[1]), "K2Node");

		EXPECT_EQ(PropertyEditorTesting::GetCustomizationChangeNotifications(), 0);
		PropertyEditor().NotifyCustomizationModuleChanged();
		EXPECT_EQ(PropertyEditorTesting::GetCustomizationChangeNotifications(), 1);

		PropertyEditor().UnregisterCustomClassLayout(TEXT("K2Node"));
		PropertyEditor().UnregisterCustomClassLayout(TEXT("NeverRegistered"));
		Names = PropertyEditorTesting::GetRegisteredClassLayouts();
		ASSERT_EQ(Names.Num(), 1);
		EXPECT_EQ(S(Names[0]), "EditorFixtureSyncNode");

		// The registry goes with the module.
		FModuleManager::Get().UnloadModule(TEXT("PropertyEditor"));
		EXPECT_EQ(PropertyEditorTesting::GetRegisteredClassLayouts().Num(), 0);
		EXPECT_EQ(PropertyEditorTesting::GetCustomizationChangeNotifications(), 0);
		EXPECT_EQ(PropertyEditorTesting::ShowDetails({ Node })->GetNumCustomizations(), 0);
	}

	TEST_F(EditorDetails_test, APanelIsBuiltByTheRegisteredCustomizationAndItsButtonClicks)
	{
		TSharedRef<PropertyEditorTesting::FDetailsPanel> Panel = PropertyEditorTesting::ShowDetails({ Node });
		EXPECT_EQ(FFixtureSyncCustomization::NumMade, 1);
		EXPECT_EQ(Panel->GetNumCustomizations(), 1);
		ASSERT_EQ(Panel->GetCategoryNames().Num(), 1);
		EXPECT_EQ(S(Panel->GetCategoryNames()[0]), "Fixture Sync");
		EXPECT_EQ(S(Panel->GetCategoryDisplayName(TEXT("Fixture Sync"))), "Sync with the host");

		const TArray<PropertyEditorTesting::FCustomRow> Rows = Panel->GetCustomRows();
		ASSERT_EQ(Rows.Num(), 1);
		EXPECT_EQ(S(Rows[0].FilterString), "Sync");
		EXPECT_FALSE(Rows[0].bForAdvanced);
		const FDetailWidgetRow& Row = *Rows[0].Row;
		EXPECT_TRUE(Row.HasNameContent());
		EXPECT_TRUE(Row.HasValueContent());
		EXPECT_FALSE(Row.HasExtensionContent());
		EXPECT_EQ(S(Row.NameWidget.Widget->GetType()), "STextBlock");
		EXPECT_EQ(S(Row.ValueWidget.Widget->GetType()), "SButton");
		EXPECT_EQ(Row.ValueWidget.MinWidth.GetValue(), 200.0f);
		EXPECT_EQ(Row.ValueWidget.MaxWidth.GetValue(), 125.0f);
		EXPECT_EQ(S(PropertyEditorTesting::GetWidgetText(Row.NameWidget.Widget)), "Fields");
		EXPECT_EQ(S(PropertyEditorTesting::GetWidgetText(Row.ValueWidget.Widget)), "Do Sync");
		// The details font of the application style.
		const TOptional<FSlateFontInfo> Font = PropertyEditorTesting::GetWidgetFont(Row.NameWidget.Widget);
		ASSERT_TRUE(Font.IsSet());
		EXPECT_EQ(S(Font.GetValue().TypefaceFontName), "Regular");
		EXPECT_EQ(Font.GetValue().Size, 8.0f);
		EXPECT_EQ(IDetailLayoutBuilder::GetDetailFontBold().TypefaceFontName, FName(TEXT("Bold")));

		FReply Reply = FReply::Unhandled();
		ASSERT_TRUE(Panel->ClickButton(LOCTEXT("SyncButtonAgain", "Do Sync"), &Reply));
		EXPECT_TRUE(Reply.IsEventHandled());
		ASSERT_TRUE(Panel->ClickButton(LOCTEXT("SyncButtonAgain", "Do Sync")));
		EXPECT_EQ(Node->SyncRequests, 2);
		// Text is matched exactly.
		EXPECT_FALSE(Panel->ClickButton(LOCTEXT("SyncButtonLower", "do sync")));
		EXPECT_FALSE(Panel->ClickButton(LOCTEXT("NoSuchButton", "Fields")));
		EXPECT_EQ(Node->SyncRequests, 2);
	}

	TEST_F(EditorDetails_test, DisabledButtonsAndGoneObjectsLeaveTheClickUnhandled)
	{
		FFixtureSyncCustomization::bButtonEnabled = false;
		TSharedRef<PropertyEditorTesting::FDetailsPanel> Disabled = PropertyEditorTesting::ShowDetails({ Node });
		FReply Reply = FReply::Handled();
		ASSERT_TRUE(Disabled->ClickButton(LOCTEXT("SyncButton", "Do Sync"), &Reply));
		EXPECT_FALSE(Reply.IsEventHandled());
		EXPECT_EQ(Node->SyncRequests, 0);

		// The customization holds the node weakly: once it is destroyed, the click does nothing.
		FFixtureSyncCustomization::bButtonEnabled = true;
		TSharedRef<PropertyEditorTesting::FDetailsPanel> Panel = PropertyEditorTesting::ShowDetails({ Node });
		Node->MarkAsGarbage();
		CoreUObjectTesting::CollectGarbage();
		Reply = FReply::Handled();
		ASSERT_TRUE(Panel->ClickButton(LOCTEXT("SyncButton", "Do Sync"), &Reply));
		EXPECT_FALSE(Reply.IsEventHandled());

		// Several objects: the customization takes none of them.
		UEditorFixtureSyncNode* First = NewObject<UEditorFixtureSyncNode>();
		UEditorFixtureSyncNode* Second = NewObject<UEditorFixtureSyncNode>();
		TSharedRef<PropertyEditorTesting::FDetailsPanel> Both = PropertyEditorTesting::ShowDetails({ First, Second });
		ASSERT_TRUE(Both->ClickButton(LOCTEXT("SyncButton", "Do Sync"), &Reply));
		EXPECT_FALSE(Reply.IsEventHandled());
		EXPECT_EQ(First->SyncRequests + Second->SyncRequests, 0);
	}

	TEST_F(EditorDetails_test, SuperClassLayoutsComeFirstAndOtherClassesGetNone)
	{
		PropertyEditor().RegisterCustomClassLayout(TEXT("K2Node"), FOnGetDetailCustomizationInstance::CreateLambda([]()
		{
			return TSharedRef<IDetailCustomization>(MakeShared<FK2NodeCustomization>());
		}));
		TSharedRef<PropertyEditorTesting::FDetailsPanel> Panel = PropertyEditorTesting::ShowDetails({ Node });
		EXPECT_EQ(Panel->GetNumCustomizations(), 2);
		const TArray<FName> Categories = Panel->GetCategoryNames();
		ASSERT_EQ(Categories.Num(), 2);
		EXPECT_EQ(S(Categories[0]), "Node");
		EXPECT_EQ(S(Categories[1]), "Fixture Sync");
		// The later edit gave a display name; the earlier one without does not erase it.
		EXPECT_EQ(S(Panel->GetCategoryDisplayName(TEXT("Fixture Sync"))), "Sync with the host");
		const TArray<PropertyEditorTesting::FCustomRow> Rows = Panel->GetCustomRows();
		ASSERT_EQ(Rows.Num(), 2);
		EXPECT_TRUE(Rows[0].bForAdvanced);
		EXPECT_FALSE(Rows[0].Row->HasColumns());
		EXPECT_TRUE(Rows[0].Row->HasAnyContent());
		EXPECT_EQ(S(PropertyEditorTesting::GetWidgetText(Rows[0].Row->WholeRowWidget.Widget)), "A node");

		UEditorFixtureTypedNode* Other = NewObject<UEditorFixtureTypedNode>();
		TSharedRef<PropertyEditorTesting::FDetailsPanel> OtherPanel = PropertyEditorTesting::ShowDetails({ Other });
		EXPECT_EQ(OtherPanel->GetNumCustomizations(), 1);
		EXPECT_EQ(FFixtureSyncCustomization::NumMade, 1);
	}

	TEST_F(EditorDetails_test, PropertyEditsNotifyTheObjectAsThePanelDoes)
	{
		PropertyEditorTesting::EditProperty(Node, TEXT("nodeToSync"), [](void* Value) { *static_cast<FString*>(Value) = TEXT("Cube"); });
		EXPECT_EQ(S(Node->nodeToSync), "Cube");
		ASSERT_EQ(Node->Notifications.Num(), 3);
		EXPECT_EQ(S(Node->Notifications[0]), "Pre nodeToSync");
		EXPECT_EQ(S(Node->Notifications[1]), "Chain nodeToSync/nodeToSync 16 -1");
		EXPECT_EQ(S(Node->Notifications[2]), "Post nodeToSync/nodeToSync 16");
		Node->Notifications.Empty();

		// A new element takes the element type's defaults (a field from the host has direction 1).
		EXPECT_EQ(PropertyEditorTesting::AddArrayElement(Node, TEXT("fields")), 0);
		EXPECT_EQ(PropertyEditorTesting::AddArrayElement(Node, TEXT("fields")), 1);
		ASSERT_EQ(Node->fields.Num(), 2);
		EXPECT_EQ(Node->fields[1].direction, 1);
		EXPECT_EQ(S(Node->Notifications[1]), "Chain fields/fields 2 0");
		EXPECT_EQ(S(Node->Notifications[4]), "Chain fields/fields 2 1");
		EXPECT_EQ(S(Node->Notifications[5]), "Post fields/fields 2");
		Node->Notifications.Empty();

		// A member of an element: the member changed, the array is the member property, with the element's index.
		PropertyEditorTesting::EditArrayElementMember(Node, TEXT("fields"), 1, TEXT("fieldName"),
			[](void* Value) { *static_cast<FString*>(Value) = TEXT("speed"); });
		EXPECT_EQ(S(Node->fields[1].fieldName), "speed");
		ASSERT_EQ(Node->Notifications.Num(), 3);
		EXPECT_EQ(S(Node->Notifications[0]), "Pre fields");
		EXPECT_EQ(S(Node->Notifications[1]), "Chain fieldName/fields 16 1");
		EXPECT_EQ(S(Node->Notifications[2]), "Post fieldName/fields 16");
		Node->Notifications.Empty();

		// Duplicate names the index duplicated; the copy is equal to it.
		PropertyEditorTesting::DuplicateArrayElement(Node, TEXT("fields"), 1);
		ASSERT_EQ(Node->fields.Num(), 3);
		EXPECT_EQ(S(Node->fields[1].fieldName), "speed");
		EXPECT_EQ(S(Node->fields[2].fieldName), "speed");
		EXPECT_EQ(S(Node->Notifications[1]), "Chain fields/fields 32 1");

		PropertyEditorTesting::InsertArrayElement(Node, TEXT("fields"), 0);
		EXPECT_EQ(S(Node->fields[0].fieldName), "");
		EXPECT_EQ(S(Node->fields[2].fieldName), "speed");
		EXPECT_EQ(S(Node->Notifications[4]), "Chain fields/fields 2 0");

		PropertyEditorTesting::RemoveArrayElement(Node, TEXT("fields"), 2);
		ASSERT_EQ(Node->fields.Num(), 3);
		EXPECT_EQ(S(Node->Notifications[7]), "Chain fields/fields 4 2");

		// Clearing names no element.
		PropertyEditorTesting::ClearArray(Node, TEXT("fields"));
		EXPECT_EQ(Node->fields.Num(), 0);
		ASSERT_EQ(Node->Notifications.Num(), 12);
		EXPECT_EQ(S(Node->Notifications[9]), "Pre fields");
		EXPECT_EQ(S(Node->Notifications[10]), "Chain fields/fields 8 -1");
		EXPECT_EQ(S(Node->Notifications[11]), "Post fields/fields 8");
	}

	TEST(EditorDetailsPropertyEvents_test, ChangeTypesAndArrayIndicesHaveTheEngineValues)
	{
		EXPECT_EQ(EPropertyChangeType::Unspecified, 1u);
		EXPECT_EQ(EPropertyChangeType::ArrayAdd, 2u);
		EXPECT_EQ(EPropertyChangeType::ArrayRemove, 4u);
		EXPECT_EQ(EPropertyChangeType::ArrayClear, 8u);
		EXPECT_EQ(EPropertyChangeType::ValueSet, 16u);
		EXPECT_EQ(EPropertyChangeType::Duplicate, 32u);

		// Without indices (an event made in code) no element is named.
		FPropertyChangedEvent Event(nullptr, EPropertyChangeType::ValueSet);
		EXPECT_EQ(Event.GetArrayIndex(TEXT("fields")), INDEX_NONE);
		EXPECT_EQ(Event.GetPropertyName(), NAME_None);
		EXPECT_EQ(Event.GetMemberPropertyName(), NAME_None);
		TArray<TMap<FString, int32>> Indices;
		Indices.AddDefaulted_GetRef().Add(TEXT("fields"), 3);
		Event.ObjectIteratorIndex = 0;
		Event.SetArrayIndexPerObject(Indices);
		EXPECT_EQ(Event.GetArrayIndex(TEXT("fields")), 3);
		EXPECT_EQ(Event.GetArrayIndex(TEXT("other")), INDEX_NONE);
	}

	TEST(EditorDetailsSlate_test, WidgetsIconsAndTheApplicationStyle)
	{
		StandInTesting::SetLogEchoToStderr(false);
		int32 Clicks = 0;
		TSharedPtr<SButton> Button;
		TSharedRef<SButton> Made = SAssignNew(Button, SButton)
			.Text(LOCTEXT("Go", "Go"))
			.OnClicked_Lambda([&Clicks]() { ++Clicks; return FReply::Handled(); });
		EXPECT_EQ(Button, TSharedPtr<SButton>(Made));
		EXPECT_EQ(S(PropertyEditorTesting::GetWidgetText(Made)), "Go");
		Made->SimulateClick();
		EXPECT_EQ(Clicks, 1);
		// A simulated click does not go through input: it runs the handler of a disabled button too.
		Made->SetEnabled(false);
		EXPECT_FALSE(Made->IsEnabled());
		Made->SimulateClick();
		EXPECT_EQ(Clicks, 2);

		// A button with content of its own shows that content.
		TSharedRef<SButton> WithContent = SNew(SButton)
			[
				SNew(STextBlock).Text(LOCTEXT("Inner", "Inner"))
			];
		EXPECT_EQ(S(PropertyEditorTesting::GetWidgetText(WithContent)), "Inner");
		// A text block bound to a getter reads it each time.
		FText Current = LOCTEXT("First", "First");
		TSharedRef<STextBlock> Bound = SNew(STextBlock).Text(TAttribute<FText>::CreateLambda([&Current]() { return Current; }));
		Current = LOCTEXT("Second", "Second");
		EXPECT_EQ(S(Bound->GetText()), "Second");

		const FSlateIcon Icon(FAppStyle::GetAppStyleSetName(), TEXT("Kismet.AllClasses.FunctionIcon"));
		EXPECT_TRUE(Icon.IsSet());
		EXPECT_FALSE(FSlateIcon().IsSet());
		EXPECT_EQ(S(Icon.GetStyleName()), "Kismet.AllClasses.FunctionIcon");
		EXPECT_EQ(S(Icon.GetStyleSetName()), "CoreStyle");

		// The editor makes its own style the application's, and has the property editor loaded.
		EngineTesting::StartEditorEngine();
		EXPECT_EQ(S(FAppStyle::GetAppStyleSetName()), "EditorStyle");
		EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("PropertyEditor")));
		EngineTesting::StopEngine();
		EXPECT_EQ(S(FAppStyle::GetAppStyleSetName()), "CoreStyle");
		FModuleManager::Get().UnloadModule(TEXT("PropertyEditor"));
		CoreUObjectTesting::ResetObjects();
	}
}

#undef LOCTEXT_NAMESPACE
