#include "KorvatNodeField.h"

#include "Containers/StringConv.h"
#include "EdGraphSchema_K2.h"

namespace KorvatNodeField
{
bool IsArrayType(KorvatType Type)
{
	return Type >= KorvatType::FloatArray && Type <= KorvatType::StringArray;
}

/** The category and sub-category of a field type's pins, without the container. */
void PinCategoryOf(KorvatType Type, FName& OutCategory, FName& OutSubCategory)
{
	OutSubCategory = NAME_None;
	switch (Type)
	{
	case KorvatType::Float:
	case KorvatType::FloatArray:
		OutCategory = UEdGraphSchema_K2::PC_Real;
		OutSubCategory = UEdGraphSchema_K2::PC_Float;
		return;
	case KorvatType::Int:
	case KorvatType::IntArray:
		OutCategory = UEdGraphSchema_K2::PC_Int;
		return;
	case KorvatType::Bool:
	case KorvatType::BoolArray:
		OutCategory = UEdGraphSchema_K2::PC_Boolean;
		return;
	case KorvatType::String:
	case KorvatType::StringArray:
		OutCategory = UEdGraphSchema_K2::PC_String;
		return;
	}
	OutCategory = UEdGraphSchema_K2::PC_Wildcard;
}
} // namespace KorvatNodeField

FEdGraphPinType FieldPinType(KorvatType Type)
{
	FEdGraphPinType PinType;
	KorvatNodeField::PinCategoryOf(Type, PinType.PinCategory, PinType.PinSubCategory);
	PinType.ContainerType = KorvatNodeField::IsArrayType(Type) ? EPinContainerType::Array : EPinContainerType::None;
	return PinType;
}

FName FieldPinName(const FKorvatNodeField& Field)
{
	FName Category;
	FName SubCategory;
	KorvatNodeField::PinCategoryOf(Field.fieldType, Category, SubCategory);
	FString Name = Field.fieldName + TEXT("_") + (SubCategory.IsNone() ? Category : SubCategory).ToString();
	if (KorvatNodeField::IsArrayType(Field.fieldType))
	{
		Name += TEXT("Array");
	}
	return FName(*Name);
}

FKorvatNodeField FieldFromDescriptor(const Korvat::UE4::FieldDescriptor& Descriptor, KorvatCommunicationDirection Direction)
{
	FKorvatNodeField Field;
	Field.direction = Direction;
	Field.fieldType = static_cast<KorvatType>(static_cast<uint8>(Descriptor.Type & 0xFF));
	Field.fieldName = FString(FUTF8ToTCHAR(Descriptor.Name.data(), static_cast<int32>(Descriptor.Name.size())).Get());
	return Field;
}

Korvat::UE4::FieldDescriptor DescriptorFromField(const FKorvatNodeField& Field)
{
	Korvat::UE4::FieldDescriptor Descriptor;
	Descriptor.Type = static_cast<int32>(Field.fieldType);
	Descriptor.IsFromKorvat = Field.direction == KorvatCommunicationDirection::FromKorvat;
	const FTCHARToUTF8 Utf8(*Field.fieldName);
	Descriptor.Name.assign(Utf8.Get(), static_cast<size_t>(Utf8.Length()));
	return Descriptor;
}
