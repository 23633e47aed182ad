// Test controls of the details panel: panels built from the registered customizations, clicks, property edits.
#include "PropertyEditorTesting.h"

#include "DetailCategoryBuilder.h"
#include "DetailLayoutBuilder.h"
#include "DetailWidgetRow.h"
#include "IDetailCustomization.h"
#include "Modules/ModuleManager.h"
#include "PropertyEditorModule.h"
#include "Templates/UniquePtr.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Text/STextBlock.h"

/** What the harness reads of the registry of the property editor module. */
struct FPropertyEditorModuleAccess
{
	static const TMap<FName, FPropertyEditorModule::FDetailLayoutCallback>* GetLayouts()
	{
		FPropertyEditorModule* Module = FModuleManager::GetModulePtr<FPropertyEditorModule>(TEXT("PropertyEditor"));
		return Module ? &Module->ClassNameToDetailLayoutNameMap : nullptr;
	}

	static TArray<FName> GetRegisteredNames()
	{
		TArray<FName> Names;
		if (const TMap<FName, FPropertyEditorModule::FDetailLayoutCallback>* Layouts = GetLayouts())
		{
			for (const TPair<FName, FPropertyEditorModule::FDetailLayoutCallback>& Layout : *Layouts)
			{
				Names.Add(Layout.Key);
			}
		}
		return Names;
	}

	static int32 GetChangeCount()
	{
		FPropertyEditorModule* Module = FModuleManager::GetModulePtr<FPropertyEditorModule>(TEXT("PropertyEditor"));
		return Module ? Module->CustomizationChangeCount : 0;
	}

	static TArray<FOnGetDetailCustomizationInstance> GetLayoutDelegates(const UClass* Class)
	{
		const TMap<FName, FPropertyEditorModule::FDetailLayoutCallback>* Layouts = GetLayouts();
		TArray<FOnGetDetailCustomizationInstance> Result;
		if (!Layouts)
		{
			return Result;
		}
		// The super classes' customizations come first.
		TArray<const UClass*> Hierarchy;
		for (const UClass* Current = Class; Current; Current = Current->GetSuperClass())
		{
			Hierarchy.Insert(Current, 0);
		}
		for (const UClass* Current : Hierarchy)
		{
			if (const FPropertyEditorModule::FDetailLayoutCallback* Callback = Layouts->Find(Current->GetFName()))
			{
				Result.Add(Callback->DetailLayoutDelegate);
			}
		}
		return Result;
	}
};

/** What the harness reads of and does to widgets. */
struct FSlateWidgetTestingAccess
{
	static const FSlateFontInfo& GetFont(const STextBlock& TextBlock)
	{
		static const FSlateFontInfo DefaultFont;
		return TextBlock.Font.Get(DefaultFont);
	}

	static FReply Click(SButton& Button)
	{
		return Button.ExecuteOnClick();
	}
};

namespace PropertyEditorTesting
{
	namespace
	{
		class FTestDetailCategory : public IDetailCategoryBuilder
		{
		public:
			explicit FTestDetailCategory(FName InName)
				: Name(InName)
			{
			}

			virtual FDetailWidgetRow& AddCustomRow(const FText& FilterString, bool bForAdvanced) override
			{
				FRow& Row = *Rows.Add_GetRef(MakeUnique<FRow>());
				Row.FilterString = FilterString;
				Row.bForAdvanced = bForAdvanced;
				Row.Widgets.FilterTextString = FilterString;
				return Row.Widgets;
			}

			virtual FName GetName() const override { return Name; }

			struct FRow
			{
				FText FilterString;
				bool bForAdvanced = false;
				FDetailWidgetRow Widgets;
			};

			FName Name;
			FText DisplayName;
			TArray<TUniquePtr<FRow>> Rows;
		};

		class FTestDetailLayoutBuilder : public IDetailLayoutBuilder
		{
		public:
			explicit FTestDetailLayoutBuilder(const TArray<UObject*>& Objects)
			{
				for (UObject* Object : Objects)
				{
					SelectedObjects.Add(Object);
				}
			}

			virtual IDetailCategoryBuilder& EditCategory(FName CategoryName, const FText& NewLocalizedDisplayName, ECategoryPriority::Type /*CategoryType*/) override
			{
				for (TUniquePtr<FTestDetailCategory>& Category : Categories)
				{
					if (Category->Name == CategoryName)
					{
						if (!NewLocalizedDisplayName.IsEmpty())
						{
							Category->DisplayName = NewLocalizedDisplayName;
						}
						return *Category;
					}
				}
				FTestDetailCategory& Category = *Categories.Add_GetRef(MakeUnique<FTestDetailCategory>(CategoryName));
				Category.DisplayName = NewLocalizedDisplayName;
				return Category;
			}

			virtual void GetObjectsBeingCustomized(TArray<TWeakObjectPtr<UObject>>& OutObjects) const override
			{
				OutObjects = SelectedObjects;
			}

			virtual const TArray<TWeakObjectPtr<UObject>>& GetSelectedObjects() const override
			{
				return SelectedObjects;
			}

			TArray<TWeakObjectPtr<UObject>> SelectedObjects;
			TArray<TUniquePtr<FTestDetailCategory>> Categories;
		};

		/** A text block at or under a widget, depth first. */
		STextBlock* FindTextBlock(const TSharedRef<SWidget>& Widget)
		{
			if (Widget->GetType() == FName(TEXT("STextBlock")))
			{
				return static_cast<STextBlock*>(&Widget.Get());
			}
			FChildren* Children = Widget->GetChildren();
			for (int32 Index = 0; Children && Index < Children->Num(); ++Index)
			{
				if (STextBlock* Found = FindTextBlock(Children->GetChildAt(Index)))
				{
					return Found;
				}
			}
			return nullptr;
		}

		/** A button at or under a widget whose text is Text, depth first; bOutEnabled tells whether it and every
		 *  widget above it are enabled. */
		SButton* FindButton(const TSharedRef<SWidget>& Widget, const FText& Text, bool bAncestorsEnabled, bool& bOutEnabled)
		{
			const bool bEnabled = bAncestorsEnabled && Widget->IsEnabled();
			if (Widget->GetType() == FName(TEXT("SButton")) && GetWidgetText(Widget).ToString().Equals(Text.ToString(), ESearchCase::CaseSensitive))
			{
				bOutEnabled = bEnabled;
				return static_cast<SButton*>(&Widget.Get());
			}
			FChildren* Children = Widget->GetChildren();
			for (int32 Index = 0; Children && Index < Children->Num(); ++Index)
			{
				if (SButton* Found = FindButton(Children->GetChildAt(Index), Text, bEnabled, bOutEnabled))
				{
					return Found;
				}
			}
			return nullptr;
		}

		class FTestDetailsPanel : public FDetailsPanel
		{
		public:
			explicit FTestDetailsPanel(const TArray<UObject*>& Objects)
				: Layout(MakeShared<FTestDetailLayoutBuilder>(Objects))
			{
			}

			virtual TArray<FName> GetCategoryNames() const override
			{
				TArray<FName> Names;
				for (const TUniquePtr<FTestDetailCategory>& Category : Layout->Categories)
				{
					Names.Add(Category->Name);
				}
				return Names;
			}

			virtual FText GetCategoryDisplayName(FName Category) const override
			{
				for (const TUniquePtr<FTestDetailCategory>& Each : Layout->Categories)
				{
					if (Each->Name == Category)
					{
						return Each->DisplayName;
					}
				}
				return FText::GetEmpty();
			}

			virtual TArray<FCustomRow> GetCustomRows() const override
			{
				TArray<FCustomRow> Result;
				for (const TUniquePtr<FTestDetailCategory>& Category : Layout->Categories)
				{
					for (const TUniquePtr<FTestDetailCategory::FRow>& Row : Category->Rows)
					{
						FCustomRow& Out = Result.AddDefaulted_GetRef();
						Out.Category = Category->Name;
						Out.FilterString = Row->FilterString;
						Out.bForAdvanced = Row->bForAdvanced;
						Out.Row = &Row->Widgets;
					}
				}
				return Result;
			}

			virtual int32 GetNumCustomizations() const override { return Customizations.Num(); }

			virtual bool ClickButton(const FText& ButtonText, FReply* OutReply) override
			{
				for (const TUniquePtr<FTestDetailCategory>& Category : Layout->Categories)
				{
					for (const TUniquePtr<FTestDetailCategory::FRow>& Row : Category->Rows)
					{
						const FDetailWidgetRow& Widgets = Row->Widgets;
						const bool bRowEnabled = Widgets.IsEnabledAttr.Get(true);
						for (const FDetailWidgetDecl* Part : { &Widgets.NameWidget, &Widgets.ValueWidget, &Widgets.WholeRowWidget })
						{
							const bool bPartEnabled = bRowEnabled && (Part != &Widgets.ValueWidget || Widgets.IsValueEnabledAttr.Get(true));
							bool bEnabled = false;
							if (SButton* Button = FindButton(Part->Widget, ButtonText, bPartEnabled, bEnabled))
							{
								// A disabled button (or one in a disabled row or widget) ignores the click, and the user
								// gets no answer.
								const FReply Reply = bEnabled ? FSlateWidgetTestingAccess::Click(*Button) : FReply::Unhandled();
								if (OutReply)
								{
									*OutReply = Reply;
								}
								return true;
							}
						}
					}
				}
				return false;
			}

			TSharedRef<FTestDetailLayoutBuilder> Layout;
			TArray<TSharedRef<IDetailCustomization>> Customizations;
		};

		/** The class all objects share. */
		UClass* CommonBaseClass(const TArray<UObject*>& Objects)
		{
			UClass* Base = nullptr;
			for (UObject* Object : Objects)
			{
				if (!Object)
				{
					continue;
				}
				if (!Base)
				{
					Base = Object->GetClass();
				}
				while (Base && !Object->GetClass()->IsChildOf(Base))
				{
					Base = Base->GetSuperClass();
				}
			}
			return Base;
		}

		FProperty* FindMemberChecked(UObject* Object, FName PropertyName)
		{
			check(Object);
			FProperty* Property = Object->GetClass()->FindPropertyByName(PropertyName);
			checkf(Property, TEXT("%s has no property %s"), *Object->GetClass()->GetName(), *PropertyName.ToString());
			return Property;
		}

		FArrayProperty* FindArrayChecked(UObject* Object, FName PropertyName)
		{
			FProperty* Property = FindMemberChecked(Object, PropertyName);
			checkf(Property->GetKind() == UECodeGen_Private::EPropertyKind::Array, TEXT("%s is not an array property"), *PropertyName.ToString());
			return static_cast<FArrayProperty*>(Property);
		}

		/** Notifies the object of an edit as the details panel does, around the change itself. */
		void NotifyEdit(UObject* Object, FProperty* MemberProperty, FProperty* ChangedProperty, EPropertyChangeType::Type ChangeType,
			int32 ArrayIndex, const TFunction<void()>& Change)
		{
			Object->PreEditChange(MemberProperty);
			Change();

			FEditPropertyChain Chain;
			Chain.AddHead(MemberProperty);
			if (ChangedProperty != MemberProperty)
			{
				Chain.AddTail(ChangedProperty);
			}
			TArray<TMap<FString, int32>> ArrayIndices;
			TMap<FString, int32>& Indices = ArrayIndices.AddDefaulted_GetRef();
			if (ArrayIndex != INDEX_NONE)
			{
				Indices.Add(MemberProperty->GetName(), ArrayIndex);
			}

			FPropertyChangedEvent Event(ChangedProperty, ChangeType);
			Event.SetActiveMemberProperty(MemberProperty);
			Event.ObjectIteratorIndex = 0;
			Event.SetArrayIndexPerObject(ArrayIndices);
			FPropertyChangedChainEvent ChainEvent(Chain, Event);
			Object->PostEditChangeChainProperty(ChainEvent);
		}
	}

	TSharedRef<FDetailsPanel> ShowDetails(const TArray<UObject*>& Objects)
	{
		TSharedRef<FTestDetailsPanel> Panel = MakeShared<FTestDetailsPanel>(Objects);
		if (UClass* Base = CommonBaseClass(Objects))
		{
			for (const FOnGetDetailCustomizationInstance& Delegate : FPropertyEditorModuleAccess::GetLayoutDelegates(Base))
			{
				if (Delegate.IsBound())
				{
					TSharedRef<IDetailCustomization> Customization = Delegate.Execute();
					Panel->Customizations.Add(Customization);
					const TSharedPtr<IDetailLayoutBuilder> Builder = Panel->Layout;
					Customization->CustomizeDetails(Builder);
				}
			}
		}
		return Panel;
	}

	FText GetWidgetText(const TSharedRef<SWidget>& Widget)
	{
		const STextBlock* TextBlock = FindTextBlock(Widget);
		return TextBlock ? TextBlock->GetText() : FText::GetEmpty();
	}

	TOptional<FSlateFontInfo> GetWidgetFont(const TSharedRef<SWidget>& Widget)
	{
		const STextBlock* TextBlock = FindTextBlock(Widget);
		return TextBlock ? TOptional<FSlateFontInfo>(FSlateWidgetTestingAccess::GetFont(*TextBlock)) : TOptional<FSlateFontInfo>();
	}

	TArray<FName> GetRegisteredClassLayouts()
	{
		TArray<FName> Names = FPropertyEditorModuleAccess::GetRegisteredNames();
		Names.Sort([](const FName& A, const FName& B) { return A.ToString() < B.ToString(); });
		return Names;
	}

	int32 GetCustomizationChangeNotifications()
	{
		return FPropertyEditorModuleAccess::GetChangeCount();
	}

	void EditProperty(UObject* Object, FName PropertyName, TFunction<void(void* Value)> Change)
	{
		FProperty* Property = FindMemberChecked(Object, PropertyName);
		NotifyEdit(Object, Property, Property, EPropertyChangeType::ValueSet, INDEX_NONE,
			[&]() { Change(Property->ContainerPtrToValuePtr<void>(Object)); });
	}

	int32 AddArrayElement(UObject* Object, FName ArrayPropertyName)
	{
		FArrayProperty* ArrayProperty = FindArrayChecked(Object, ArrayPropertyName);
		FScriptArrayHelper Helper(ArrayProperty, ArrayProperty->ContainerPtrToValuePtr<void>(Object));
		const int32 NewIndex = Helper.Num();
		NotifyEdit(Object, ArrayProperty, ArrayProperty, EPropertyChangeType::ArrayAdd, NewIndex, [&]() { Helper.AddValue(); });
		return NewIndex;
	}

	void InsertArrayElement(UObject* Object, FName ArrayPropertyName, int32 Index)
	{
		FArrayProperty* ArrayProperty = FindArrayChecked(Object, ArrayPropertyName);
		FScriptArrayHelper Helper(ArrayProperty, ArrayProperty->ContainerPtrToValuePtr<void>(Object));
		NotifyEdit(Object, ArrayProperty, ArrayProperty, EPropertyChangeType::ArrayAdd, Index, [&]() { Helper.InsertValues(Index); });
	}

	void DuplicateArrayElement(UObject* Object, FName ArrayPropertyName, int32 Index)
	{
		FArrayProperty* ArrayProperty = FindArrayChecked(Object, ArrayPropertyName);
		FScriptArrayHelper Helper(ArrayProperty, ArrayProperty->ContainerPtrToValuePtr<void>(Object));
		check(Helper.IsValidIndex(Index));
		// The copy is made at Index, the original moving up by one; the event names the index duplicated.
		NotifyEdit(Object, ArrayProperty, ArrayProperty, EPropertyChangeType::Duplicate, Index, [&]()
		{
			Helper.InsertValues(Index);
			ArrayProperty->Inner->CopyCompleteValue(Helper.GetRawPtr(Index), Helper.GetRawPtr(Index + 1));
		});
	}

	void RemoveArrayElement(UObject* Object, FName ArrayPropertyName, int32 Index)
	{
		FArrayProperty* ArrayProperty = FindArrayChecked(Object, ArrayPropertyName);
		FScriptArrayHelper Helper(ArrayProperty, ArrayProperty->ContainerPtrToValuePtr<void>(Object));
		check(Helper.IsValidIndex(Index));
		NotifyEdit(Object, ArrayProperty, ArrayProperty, EPropertyChangeType::ArrayRemove, Index, [&]() { Helper.RemoveValues(Index); });
	}

	void ClearArray(UObject* Object, FName ArrayPropertyName)
	{
		FArrayProperty* ArrayProperty = FindArrayChecked(Object, ArrayPropertyName);
		FScriptArrayHelper Helper(ArrayProperty, ArrayProperty->ContainerPtrToValuePtr<void>(Object));
		NotifyEdit(Object, ArrayProperty, ArrayProperty, EPropertyChangeType::ArrayClear, INDEX_NONE, [&]() { Helper.EmptyValues(); });
	}

	void EditArrayElementMember(UObject* Object, FName ArrayPropertyName, int32 Index, FName MemberName, TFunction<void(void* Value)> Change)
	{
		FArrayProperty* ArrayProperty = FindArrayChecked(Object, ArrayPropertyName);
		UScriptStruct* ElementStruct = ArrayProperty->Inner->GetStruct();
		checkf(ElementStruct, TEXT("%s is not an array of structures"), *ArrayPropertyName.ToString());
		FProperty* Member = ElementStruct->FindPropertyByName(MemberName);
		checkf(Member, TEXT("%s has no member %s"), *ElementStruct->GetName(), *MemberName.ToString());
		FScriptArrayHelper Helper(ArrayProperty, ArrayProperty->ContainerPtrToValuePtr<void>(Object));
		check(Helper.IsValidIndex(Index));
		NotifyEdit(Object, ArrayProperty, Member, EPropertyChangeType::ValueSet, Index,
			[&]() { Change(Member->ContainerPtrToValuePtr<void>(Helper.GetRawPtr(Index))); });
	}
}
