"""Hand-written name lists behind the sample data set.

Each theme lists real taxa (or, for communities, vegetation associations in
the usual "dominant / understorey Formation" style) as "Scientific name |
Common name | areas" lines, the words used to name and describe the groups
built from it, and the group types those groups get.

Areas keep groups geographically plausible: E is eastern and central North
America, W western North America, EU Europe. A line without areas takes its
theme's default ("E" unless the theme says otherwise); a group draws its
members from the elements of its region's area.
"""

ALPINE = """
Silene acaulis | Moss Campion | E W EU
Dryas octopetala | Eight-petal Mountain-avens | W EU
Saxifraga oppositifolia | Purple Saxifrage | E W EU
Geum rossii | Ross's Avens | W
Polemonium viscosum | Sky Pilot | W
Eritrichium nanum | Alpine Forget-me-not | W EU
Trifolium dasyphyllum | Whiproot Clover | W
Trifolium parryi | Parry's Clover | W
Oxyria digyna | Mountain Sorrel | E W EU
Kobresia myosuroides | Bellardi Bog Sedge | W EU
Carex scopulorum | Holm's Rocky Mountain Sedge | W
Diapensia lapponica | Lapland Diapensia | E EU
Vaccinium uliginosum | Bog Bilberry | E W EU
Geum peckii | Eastern Mountain Avens | E
Potentilla robbinsiana | Robbins' Cinquefoil | E
Minuartia groenlandica | Mountain Sandwort | E
Kalmia procumbens | Alpine Azalea | E W EU
Rhododendron lapponicum | Lapland Rosebay | E EU
Salix herbacea | Dwarf Willow | E EU
Salix arctica | Arctic Willow | W
Phyllodoce caerulea | Purple Mountain-heath | E EU
Harrimanella hypnoides | Moss Bell-heather | E EU
Gentiana nivalis | Snow Gentian | E EU
Leontopodium alpinum | Edelweiss | EU
Ranunculus glacialis | Glacier Buttercup | EU
Androsace alpina | Alpine Rock-jasmine | EU
Soldanella alpina | Alpine Snowbell | EU
Campanula uniflora | Arctic Harebell | W
Primula parryi | Parry's Primrose | W
Aquilegia caerulea | Colorado Blue Columbine | W
Penstemon whippleanus | Whipple's Penstemon | W
Castilleja occidentalis | Western Indian Paintbrush | W
Lloydia serotina | Alp Lily | W EU
Papaver radicatum | Arctic Poppy | W
Carex bigelowii | | E EU
"""

ORCHIDS = """
Cypripedium calceolus | Yellow Lady's-slipper | EU
Cypripedium parviflorum | Small Yellow Lady's-slipper
Cypripedium reginae | Showy Lady's-slipper
Cypripedium acaule | Pink Lady's-slipper
Cypripedium candidum | Small White Lady's-slipper
Cypripedium arietinum | Ram's-head Lady's-slipper
Platanthera leucophaea | Eastern Prairie Fringed Orchid
Platanthera praeclara | Western Prairie Fringed Orchid
Platanthera ciliaris | Yellow Fringed Orchid
Platanthera blephariglottis | White Fringed Orchid
Platanthera grandiflora | Large Purple Fringed Orchid
Platanthera psycodes | Small Purple Fringed Orchid
Isotria medeoloides | Small Whorled Pogonia
Isotria verticillata | Large Whorled Pogonia
Pogonia ophioglossoides | Rose Pogonia
Calopogon tuberosus | Tuberous Grass-pink
Arethusa bulbosa | Dragon's-mouth
Spiranthes romanzoffiana | Hooded Ladies'-tresses | E W EU
Spiranthes cernua | Nodding Ladies'-tresses
Spiranthes diluvialis | Ute Ladies'-tresses | W
Goodyera pubescens | Downy Rattlesnake-plantain
Liparis loeselii | Loesel's Twayblade | E EU
Neottia cordata | Heart-leaved Twayblade | E W EU
Corallorhiza odontorhiza | Autumn Coralroot
Aplectrum hyemale | Puttyroot
Tipularia discolor | Crippled Cranefly
Ophrys apifera | Bee Orchid | EU
Orchis mascula | Early-purple Orchid | EU
Dactylorhiza maculata | Heath Spotted-orchid | EU
Anacamptis pyramidalis | Pyramidal Orchid | EU
Epipactis palustris | Marsh Helleborine | EU
Cephalanthera rubra | Red Helleborine | EU
Himantoglossum hircinum | Lizard Orchid | EU
"""

PRAIRIE = """
Andropogon gerardii | Big Bluestem
Schizachyrium scoparium | Little Bluestem
Sorghastrum nutans | Indiangrass
Panicum virgatum | Switchgrass
Bouteloua curtipendula | Sideoats Grama
Bouteloua gracilis | Blue Grama
Sporobolus heterolepis | Prairie Dropseed
Koeleria macrantha | Prairie Junegrass
Hesperostipa spartea | Porcupine Grass
Elymus canadensis | Canada Wild Rye
Echinacea pallida | Pale Purple Coneflower
Echinacea purpurea | Eastern Purple Coneflower
Ratibida pinnata | Grey-headed Coneflower
Rudbeckia hirta | Black-eyed Susan
Silphium laciniatum | Compass Plant
Silphium terebinthinaceum | Prairie Dock
Liatris pycnostachya | Prairie Blazing Star
Liatris aspera | Rough Blazing Star
Dalea purpurea | Purple Prairie Clover
Dalea candida | White Prairie Clover
Amorpha canescens | Leadplant
Baptisia alba | White Wild Indigo
Asclepias tuberosa | Butterfly Milkweed
Asclepias meadii | Mead's Milkweed
Asclepias syriaca | Common Milkweed
Lespedeza leptostachya | Prairie Bush-clover
Eryngium yuccifolium | Rattlesnake-master
Symphyotrichum novae-angliae | New England Aster
Oligoneuron rigidum | Stiff Goldenrod
Monarda fistulosa | Wild Bergamot
Pedicularis canadensis | Canadian Lousewort
Dodecatheon meadia | Eastern Shooting Star
Tradescantia ohiensis | Ohio Spiderwort
Castilleja coccinea | Scarlet Indian Paintbrush
Gentiana andrewsii | Bottle Gentian
Zizia aurea | Golden Alexanders
Pulsatilla patens | American Pasqueflower
Penstemon grandiflorus | Large Beardtongue
Boltonia decurrens | Decurrent False Aster
"""

WOODLAND_HERBS = """
Trillium grandiflorum | Large-flowered Trillium
Trillium erectum | Red Trillium
Trillium sessile | Toadshade
Trillium persistens | Persistent Trillium
Trillium reliquum | Relict Trillium
Sanguinaria canadensis | Bloodroot
Erythronium americanum | Yellow Trout Lily
Erythronium propullans | Minnesota Dwarf Trout Lily
Claytonia virginica | Virginia Spring Beauty
Dicentra cucullaria | Dutchman's Breeches
Dicentra canadensis | Squirrel Corn
Hepatica acutiloba | Sharp-lobed Hepatica
Mertensia virginica | Virginia Bluebells
Podophyllum peltatum | Mayapple
Panax quinquefolius | American Ginseng
Hydrastis canadensis | Goldenseal
Caulophyllum thalictroides | Blue Cohosh
Actaea racemosa | Black Cohosh
Asarum canadense | Canadian Wild Ginger
Arisaema triphyllum | Jack-in-the-pulpit
Phlox divaricata | Wild Blue Phlox
Uvularia grandiflora | Large-flowered Bellwort
Jeffersonia diphylla | Twinleaf
Stylophorum diphyllum | Celandine Poppy
Cardamine concatenata | Cut-leaved Toothwort
Polemonium reptans | Spreading Jacob's-ladder
Shortia galacifolia | Oconee Bells
Hexastylis naniflora | Dwarf-flowered Heartleaf
Geranium maculatum | Wild Geranium
Viola pedata | Bird's-foot Violet
Trillium pusillum var. monticulum |
"""

BOG_PLANTS = """
Sarracenia purpurea | Purple Pitcher Plant
Sarracenia flava | Yellow Pitcher Plant
Sarracenia oreophila | Green Pitcher Plant
Sarracenia leucophylla | White-topped Pitcher Plant
Sarracenia rubra subsp. jonesii | Mountain Sweet Pitcher Plant
Sarracenia alabamensis | Alabama Canebrake Pitcher Plant
Sarracenia minor | Hooded Pitcher Plant
Sarracenia psittacina | Parrot Pitcher Plant
Dionaea muscipula | Venus Flytrap
Drosera rotundifolia | Round-leaved Sundew | E W EU
Drosera intermedia | Spoon-leaved Sundew | E EU
Drosera filiformis | Thread-leaved Sundew
Drosera capillaris | Pink Sundew
Pinguicula vulgaris | Common Butterwort | E W EU
Pinguicula lutea | Yellow Butterwort
Utricularia cornuta | Horned Bladderwort
Utricularia purpurea | Eastern Purple Bladderwort
Darlingtonia californica | California Pitcherplant | W
Chamaedaphne calyculata | Leatherleaf | E W
Rhododendron groenlandicum | Bog Labrador Tea | E W
Kalmia polifolia | Bog Laurel | E W
Andromeda polifolia | Bog Rosemary | E W EU
Vaccinium oxycoccos | Small Cranberry | E W EU
Eriophorum vaginatum | Tussock Cottongrass | E W EU
Scheuchzeria palustris | Rannoch-rush | E W EU
Helonias bullata | Swamp Pink
Sphagnum magellanicum | Magellan's Peat Moss | E W EU
"""

FERNS = """
Osmunda regalis | Royal Fern
Osmundastrum cinnamomeum | Cinnamon Fern
Osmunda claytoniana | Interrupted Fern
Matteuccia struthiopteris | Ostrich Fern
Onoclea sensibilis | Sensitive Fern
Adiantum pedatum | Northern Maidenhair Fern
Adiantum capillus-veneris | Southern Maidenhair Fern
Asplenium platyneuron | Ebony Spleenwort
Asplenium rhizophyllum | Walking Fern
Asplenium scolopendrium var. americanum | American Hart's-tongue Fern
Polystichum acrostichoides | Christmas Fern
Dryopteris marginalis | Marginal Wood Fern
Dryopteris goldiana | Goldie's Wood Fern
Dryopteris cristata | Crested Wood Fern
Dryopteris fragrans | Fragrant Wood Fern
Athyrium filix-femina | Lady Fern
Cystopteris bulbifera | Bulblet Fern
Woodsia ilvensis | Rusty Woodsia
Botrypus virginianus | Rattlesnake Fern
Botrychium lunaria | Common Moonwort
Ophioglossum vulgatum | Southern Adder's-tongue
Lycopodium clavatum | Running Clubmoss
Huperzia lucidula | Shining Firmoss
Isoëtes lacustris | Lake Quillwort
Isoëtes engelmannii | Engelmann's Quillwort
Vandenboschia boschiana | Appalachian Bristle Fern
Pellaea atropurpurea | Purple Cliffbrake
Equisetum hyemale | Scouring Rush
Asplenium ×ebenoides | Scott's Spleenwort
Dryopteris ×triploidea |
"""

COASTAL_PLANTS = """
Ammophila breviligulata | American Beachgrass
Uniola paniculata | Sea Oats
Spartina alterniflora | Smooth Cordgrass
Spartina patens | Saltmeadow Cordgrass
Distichlis spicata | Saltgrass
Juncus roemerianus | Black Needlerush
Salicornia depressa | Virginia Glasswort
Limonium carolinianum | Carolina Sea-lavender
Amaranthus pumilus | Seabeach Amaranth
Cakile edentula | American Sea-rocket
Lathyrus japonicus | Beach Pea
Solidago sempervirens | Seaside Goldenrod
Hudsonia tomentosa | Woolly Beach-heather
Prunus maritima | Beach Plum
Morella pensylvanica | Northern Bayberry
Iva frutescens | Marsh Elder
Baccharis halimifolia | Groundsel Tree
Sabatia stellaris | Rose-of-Plymouth
Cirsium pitcheri | Pitcher's Thistle
Euphorbia polygonifolia | Seaside Spurge
Honckenya peploides | Seabeach Sandwort | E W EU
Eryngium maritimum | Sea Holly | EU
Crambe maritima | Sea-kale | EU
Armeria maritima | Thrift | E W EU
Zostera marina | Eelgrass | E W EU
"""

TREES = """
Quercus alba | White Oak
Quercus rubra | Northern Red Oak
Quercus macrocarpa | Bur Oak
Quercus montana | Chestnut Oak
Quercus virginiana | Southern Live Oak
Quercus garryana | Oregon White Oak | W
Acer saccharum | Sugar Maple
Acer rubrum | Red Maple
Fagus grandifolia | American Beech
Castanea dentata | American Chestnut
Juglans cinerea | Butternut
Carya ovata | Shagbark Hickory
Liriodendron tulipifera | Tuliptree
Tsuga canadensis | Eastern Hemlock
Tsuga caroliniana | Carolina Hemlock
Pinus strobus | Eastern White Pine
Pinus palustris | Longleaf Pine
Pinus rigida | Pitch Pine
Pinus banksiana | Jack Pine
Pinus albicaulis | Whitebark Pine | W
Pinus longaeva | Great Basin Bristlecone Pine | W
Picea rubens | Red Spruce
Picea mariana | Black Spruce
Abies fraseri | Fraser Fir
Abies balsamea | Balsam Fir
Larix laricina | Tamarack
Thuja occidentalis | Northern White-cedar
Chamaecyparis thyoides | Atlantic White-cedar
Taxodium distichum | Bald Cypress
Nyssa aquatica | Water Tupelo
Fraxinus nigra | Black Ash
Fraxinus americana | White Ash
Ulmus americana | American Elm
Betula alleghaniensis | Yellow Birch
Betula papyrifera | Paper Birch
Populus tremuloides | Quaking Aspen | E W
Torreya taxifolia | Florida Torreya
Franklinia alatamaha | Franklin Tree
Sequoiadendron giganteum | Giant Sequoia | W
"""

ALVAR_PLANTS = """
Helianthemum oelandicum | Ölandic Rock-rose
Artemisia oelandica | Öland Wormwood
Festuca oelandica | Öland Fescue
Globularia vulgaris | Common Globe Daisy
Fumana procumbens | Common Fumana
Sesleria caerulea | Blue Moor-grass
Gypsophila fastigiata | Tall Baby's-breath
Potentilla tabernaemontani | Spring Cinquefoil
Allium schoenoprasum | Wild Chives | E EU
Thymus serpyllum | Breckland Thyme
Pulsatilla pratensis | Small Pasqueflower
Anthyllis vulneraria | Kidney Vetch
Iris lacustris | Dwarf Lake Iris | E
Tetraneuris herbacea | Lakeside Daisy | E
Carex scirpoidea | Northern Singlespike Sedge | E
Juniperus horizontalis | Creeping Juniper | E
Geum triflorum | Prairie Smoke | E
Primula mistassinica | Mistassini Primrose | E
"""

AQUATIC_PLANTS = """
Nymphaea odorata | Fragrant Water-lily
Nuphar variegata | Variegated Pond-lily
Nelumbo lutea | American Lotus
Brasenia schreberi | Water-shield
Potamogeton amplifolius | Large-leaved Pondweed
Vallisneria americana | Wild Celery
Zizania aquatica | Southern Wild Rice
Zizania palustris | Northern Wild Rice
Pontederia cordata | Pickerelweed
Sagittaria latifolia | Broad-leaved Arrowhead
Podostemum ceratophyllum | Hornleaf Riverweed
Hymenocallis coronaria | Shoals Spider-lily
Lobelia dortmanna | Water Lobelia | E EU
Eriocaulon aquaticum | Seven-angled Pipewort
Ranunculus aquatilis | White Water-crowfoot | E W EU
"""

MUSSELS = """
Epioblasma torulosa rangiana | Northern Riffleshell
Epioblasma triquetra | Snuffbox
Epioblasma obliquata | Purple Cat's Paw
Epioblasma florentina walkeri | Tan Riffleshell
Pleurobema clava | Clubshell
Pleurobema plenum | Rough Pigtoe
Pleurobema cordatum | Ohio Pigtoe
Plethobasus cyphyus | Sheepnose
Plethobasus cooperianus | Orangefoot Pimpleback
Cyprogenia stegaria | Fanshell
Lampsilis abrupta | Pink Mucket
Lampsilis cardium | Plain Pocketbook
Lampsilis higginsii | Higgins Eye
Lampsilis siliquoidea | Fatmucket
Ligumia recta | Black Sandshell
Obovaria retusa | Ring Pink
Theliderma cylindrica | Rabbitsfoot
Quadrula quadrula | Mapleleaf
Quadrula sparsa | Appalachian Monkeyface
Amblema plicata | Threeridge
Actinonaias ligamentina | Mucket
Fusconaia cuneolus | Fine-rayed Pigtoe
Fusconaia flava | Wabash Pigtoe
Villosa iris | Rainbow
Villosa fabalis | Rayed Bean
Alasmidonta heterodon | Dwarf Wedgemussel
Alasmidonta varicosa | Brook Floater
Alasmidonta marginata | Elktoe
Lasmigona compressa | Creek Heelsplitter
Lasmigona costata | Flutedshell
Margaritifera margaritifera | Freshwater Pearl Mussel | E EU
Margaritifera hembeli | Louisiana Pearlshell
Elliptio complanata | Eastern Elliptio
Elliptio dilatata | Spike
Cumberlandia monodonta | Spectaclecase
Dromus dromas | Dromedary Pearlymussel
Potamilus capax | Fat Pocketbook
Ptychobranchus fasciolaris | Kidneyshell
Toxolasma lividum | Purple Lilliput
Utterbackia imbecillis | Paper Pondshell
Venustaconcha ellipsiformis | Ellipse
Hemistena lata | Cracking Pearlymussel
Pegias fabula | Littlewing Pearlymussel
Unio crassus | Thick-shelled River Mussel | EU
"""

FISHES = """
Etheostoma caeruleum | Rainbow Darter
Etheostoma blennioides | Greenside Darter
Etheostoma flabellare | Fantail Darter
Etheostoma nigrum | Johnny Darter
Etheostoma spectabile | Orangethroat Darter
Etheostoma tippecanoe | Tippecanoe Darter
Etheostoma maculatum | Spotted Darter
Etheostoma camurum | Bluebreast Darter
Etheostoma boschungi | Slackwater Darter
Etheostoma fonticola | Fountain Darter
Etheostoma sellare | Maryland Darter
Etheostoma wapiti | Boulder Darter
Percina caprodes | Logperch
Percina tanasi | Snail Darter
Percina rex | Roanoke Logperch
Percina copelandi | Channel Darter
Ammocrypta pellucida | Eastern Sand Darter
Crystallaria asprella | Crystal Darter
Noturus baileyi | Smoky Madtom
Noturus flavus | Stonecat
Noturus trautmani | Scioto Madtom
Noturus stigmosus | Northern Madtom
Acipenser fulvescens | Lake Sturgeon
Scaphirhynchus albus | Pallid Sturgeon | E W
Polyodon spathula | Paddlefish | E W
Lepisosteus oculatus | Spotted Gar
Amia calva | Bowfin
Hiodon tergisus | Mooneye | E W
Salvelinus fontinalis | Brook Trout
Salvelinus confluentus | Bull Trout | W
Oncorhynchus clarkii | Cutthroat Trout | W
Oncorhynchus nerka | Sockeye Salmon | W
Salmo salar | Atlantic Salmon | E EU
Cottus bairdii | Mottled Sculpin | E W
Notropis topeka | Topeka Shiner
Notropis ariommus | Popeye Shiner
Chrosomus cumberlandensis | Blackside Dace
Erimystax cahni | Slender Chub
Cyprinella caerulea | Blue Shiner
Moxostoma lacerum | Harelip Sucker
Moxostoma valenciennesi | Greater Redhorse
Anguilla rostrata | American Eel
Fundulus julisia | Barrens Topminnow
"""

SALAMANDERS = """
Cryptobranchus alleganiensis | Hellbender
Necturus maculosus | Mudpuppy
Ambystoma maculatum | Spotted Salamander
Ambystoma jeffersonianum | Jefferson Salamander
Ambystoma laterale | Blue-spotted Salamander
Ambystoma opacum | Marbled Salamander
Ambystoma tigrinum | Eastern Tiger Salamander
Ambystoma cingulatum | Frosted Flatwoods Salamander
Notophthalmus viridescens | Eastern Newt
Plethodon cinereus | Eastern Red-backed Salamander
Plethodon glutinosus | Northern Slimy Salamander
Plethodon shenandoah | Shenandoah Salamander
Plethodon nettingi | Cheat Mountain Salamander
Plethodon jordani | Red-cheeked Salamander
Desmognathus fuscus | Northern Dusky Salamander
Desmognathus wrighti | Pygmy Salamander
Desmognathus ochrophaeus | Allegheny Mountain Dusky Salamander
Eurycea bislineata | Northern Two-lined Salamander
Eurycea longicauda | Long-tailed Salamander
Eurycea sosorum | Barton Springs Salamander
Gyrinophilus porphyriticus | Spring Salamander
Gyrinophilus palleucus | Tennessee Cave Salamander
Hemidactylium scutatum | Four-toed Salamander
Pseudotriton ruber | Red Salamander
Aneides aeneus | Green Salamander
Hydromantes brunus | Limestone Salamander | W
Siren intermedia | Lesser Siren
"""

FROGS = """
Lithobates sylvaticus | Wood Frog
Lithobates pipiens | Northern Leopard Frog
Lithobates sevosus | Dusky Gopher Frog
Lithobates catesbeianus | American Bullfrog | E W
Lithobates septentrionalis | Mink Frog
Pseudacris crucifer | Spring Peeper
Pseudacris brachyphona | Mountain Chorus Frog
Hyla versicolor | Gray Treefrog
Hyla andersonii | Pine Barrens Treefrog
Acris blanchardi | Blanchard's Cricket Frog
Anaxyrus americanus | American Toad
Anaxyrus fowleri | Fowler's Toad
Anaxyrus houstonensis | Houston Toad
Scaphiopus holbrookii | Eastern Spadefoot
Rana draytonii | California Red-legged Frog | W
Rana muscosa | Southern Mountain Yellow-legged Frog | W
Epidalea calamita | Natterjack Toad | EU
"""

REPTILES = """
Glyptemys muhlenbergii | Bog Turtle
Glyptemys insculpta | Wood Turtle
Emydoidea blandingii | Blanding's Turtle
Clemmys guttata | Spotted Turtle
Terrapene carolina | Eastern Box Turtle
Gopherus polyphemus | Gopher Tortoise
Gopherus agassizii | Mojave Desert Tortoise | W
Macrochelys temminckii | Alligator Snapping Turtle
Malaclemys terrapin | Diamondback Terrapin
Graptemys geographica | Northern Map Turtle
Apalone spinifera | Spiny Softshell
Chelydra serpentina | Snapping Turtle
Sistrurus catenatus | Eastern Massasauga
Crotalus horridus | Timber Rattlesnake
Crotalus adamanteus | Eastern Diamond-backed Rattlesnake
Drymarchon couperi | Eastern Indigo Snake
Heterodon platirhinos | Eastern Hog-nosed Snake
Pituophis melanoleucus | Pinesnake
Nerodia erythrogaster neglecta | Copperbelly Water Snake
Thamnophis butleri | Butler's Gartersnake
Clonophis kirtlandii | Kirtland's Snake
Ophisaurus attenuatus | Slender Glass Lizard
Plestiodon anthracinus | Coal Skink
Sceloporus woodi | Florida Scrub Lizard
Alligator mississippiensis | American Alligator
Crotalus scutulatus | Mojave Rattlesnake | W
Dipsosaurus dorsalis | Desert Iguana | W
Uma scoparia | Mojave Fringe-toed Lizard | W
Heloderma suspectum | Gila Monster | W
"""

BIRDS = """
Dolichonyx oryzivorus | Bobolink
Sturnella magna | Eastern Meadowlark
Sturnella neglecta | Western Meadowlark
Ammodramus savannarum | Grasshopper Sparrow
Centronyx henslowii | Henslow's Sparrow
Spiza americana | Dickcissel
Tympanuchus cupido | Greater Prairie-Chicken
Tympanuchus pallidicinctus | Lesser Prairie-Chicken
Centrocercus urophasianus | Greater Sage-Grouse | W
Bartramia longicauda | Upland Sandpiper
Asio flammeus | Short-eared Owl
Circus hudsonius | Northern Harrier
Athene cunicularia | Burrowing Owl
Charadrius melodus | Piping Plover
Calidris canutus rufa | Rufa Red Knot
Sternula antillarum | Least Tern
Rynchops niger | Black Skimmer
Ammospiza caudacuta | Saltmarsh Sparrow
Laterallus jamaicensis | Black Rail
Rallus crepitans | Clapper Rail
Grus americana | Whooping Crane
Antigone canadensis | Sandhill Crane
Botaurus lentiginosus | American Bittern
Ixobrychus exilis | Least Bittern
Mycteria americana | Wood Stork
Haliaeetus leucocephalus | Bald Eagle
Pandion haliaetus | Osprey
Falco peregrinus | Peregrine Falcon
Setophaga kirtlandii | Kirtland's Warbler
Setophaga cerulea | Cerulean Warbler
Vermivora chrysoptera | Golden-winged Warbler
Limnothlypis swainsonii | Swainson's Warbler
Protonotaria citrea | Prothonotary Warbler
Seiurus aurocapilla | Ovenbird
Hylocichla mustelina | Wood Thrush
Catharus bicknelli | Bicknell's Thrush
Dryobates borealis | Red-cockaded Woodpecker
Campephilus principalis | Ivory-billed Woodpecker
Picoides arcticus | Black-backed Woodpecker
Empidonax traillii extimus | Southwestern Willow Flycatcher | W
Vireo atricapilla | Black-capped Vireo
Aphelocoma coerulescens | Florida Scrub-Jay
Peucaea aestivalis | Bachman's Sparrow
Colinus virginianus | Northern Bobwhite
Chordeiles minor | Common Nighthawk
Antrostomus vociferus | Eastern Whip-poor-will
Chaetura pelagica | Chimney Swift
Hirundo rustica | Barn Swallow
Gavia immer | Common Loon
Cygnus buccinator | Trumpeter Swan
"""

MAMMALS = """
Myotis sodalis | Indiana Bat
Myotis septentrionalis | Northern Long-eared Bat
Myotis lucifugus | Little Brown Bat | E W
Myotis grisescens | Gray Bat
Perimyotis subflavus | Tricolored Bat
Corynorhinus townsendii virginianus | Virginia Big-eared Bat
Eptesicus fuscus | Big Brown Bat | E W
Lasiurus borealis | Eastern Red Bat
Lasiurus cinereus | Hoary Bat | E W
Glaucomys sabrinus fuscus | Virginia Northern Flying Squirrel
Neotoma magister | Allegheny Woodrat
Sylvilagus transitionalis | New England Cottontail
Lynx canadensis | Canada Lynx | E W
Martes americana | American Marten | E W
Pekania pennanti | Fisher | E W
Gulo gulo | Wolverine | W
Canis lupus | Gray Wolf | E W
Canis rufus | Red Wolf
Puma concolor coryi | Florida Panther
Ursus arctos horribilis | Grizzly Bear | W
Bison bison | American Bison | E W
Cynomys ludovicianus | Black-tailed Prairie Dog | E W
Mustela nigripes | Black-footed Ferret | E W
Antilocapra americana | Pronghorn | E W
Zapus hudsonius preblei | Preble's Meadow Jumping Mouse | W
Trichechus manatus | West Indian Manatee
Enhydra lutris | Sea Otter | W
Lontra canadensis | North American River Otter
"""

LEPIDOPTERA = """
Danaus plexippus | Monarch
Plebejus samuelis | Karner Blue
Speyeria idalia | Regal Fritillary
Euphydryas phaeton | Baltimore Checkerspot
Oarisma poweshiek | Poweshiek Skipperling
Hesperia dacotae | Dakota Skipper
Hesperia ottoe | Ottoe Skipper
Atrytone arogos | Arogos Skipper
Neonympha mitchellii | Mitchell's Satyr
Satyrium edwardsii | Edwards' Hairstreak
Callophrys irus | Frosted Elfin
Callophrys hesseli | Hessel's Hairstreak
Lycaena epixanthe | Bog Copper
Boloria selene | Silver-bordered Fritillary
Papilio glaucus | Eastern Tiger Swallowtail
Papilio cresphontes | Giant Swallowtail
Protographium marcellus | Zebra Swallowtail
Erynnis persius | Persius Duskywing
Pieris virginiensis | West Virginia White
Euchloe ausonides | Large Marble | W
Papaipema eryngii | Rattlesnake-master Borer Moth
Actias luna | Luna Moth
Hemileuca maia | Eastern Buck Moth
Catocala herodias | Herodias Underwing
Phengaris arion | Large Blue | EU
"""

INSECTS = """
Bombus affinis | Rusty Patched Bumble Bee
Bombus terricola | Yellow-banded Bumble Bee
Bombus pensylvanicus | American Bumble Bee
Bombus occidentalis | Western Bumble Bee | W
Bombus franklini | Franklin's Bumble Bee | W
Bombus impatiens | Common Eastern Bumble Bee
Nicrophorus americanus | American Burying Beetle
Cicindela dorsalis dorsalis | Northeastern Beach Tiger Beetle
Cicindela patruela | Barrens Tiger Beetle
Cicindela marginipennis | Cobblestone Tiger Beetle
Somatochlora hineana | Hine's Emerald
Gomphus ventricosus | Skillet Clubtail
Williamsonia fletcheri | Ebony Boghaunter
Tachopteryx thoreyi | Gray Petaltail
Macromia margarita | Mountain River Cruiser
"""

CRAYFISH = """
Cambarus bartonii | Appalachian Brook Crayfish
Cambarus veteranus | Guyandotte River Crayfish
Cambarus callainus | Big Sandy Crayfish
Faxonius shoupi | Nashville Crayfish
Faxonius rusticus | Rusty Crayfish
Faxonius virilis | Virile Crayfish | E W
Procambarus clarkii | Red Swamp Crayfish | E W EU
Pacifastacus leniusculus | Signal Crayfish | W EU
Astacus astacus | Noble Crayfish | EU
Austropotamobius pallipes | White-clawed Crayfish | EU
Lacunicambarus diogenes | Devil Crawfish
"""

COMMUNITIES_NA = """
Pinus palustris / Aristida stricta Woodland | Longleaf Pine / Wiregrass Woodland
Quercus alba - Carya ovata / Cornus florida Forest | White Oak - Shagbark Hickory / Flowering Dogwood Forest
Acer saccharum - Fagus grandifolia - Tilia americana Forest | Sugar Maple - Beech - Basswood Forest
Tsuga canadensis - Betula alleghaniensis Forest | Hemlock - Yellow Birch Forest
Picea rubens - Abies fraseri Forest | Red Spruce - Fraser Fir Forest
Pinus rigida / Quercus ilicifolia Shrubland | Pitch Pine / Scrub Oak Barrens
Quercus macrocarpa / Andropogon gerardii Savanna | Bur Oak / Big Bluestem Savanna
Andropogon gerardii - Sorghastrum nutans Herbaceous Vegetation | Mesic Tallgrass Prairie
Schizachyrium scoparium - Bouteloua curtipendula Herbaceous Vegetation | Little Bluestem - Sideoats Grama Dry Prairie
Bouteloua gracilis - Buchloe dactyloides Herbaceous Vegetation | Blue Grama - Buffalograss Shortgrass Prairie
Spartina alterniflora Herbaceous Vegetation | Smooth Cordgrass Salt Marsh
Spartina patens - Distichlis spicata Herbaceous Vegetation | Saltmeadow Cordgrass - Saltgrass High Marsh
Ammophila breviligulata - Lathyrus japonicus Herbaceous Vegetation | Beachgrass - Beach Pea Dune Grassland
Taxodium distichum - Nyssa aquatica Forest | Bald Cypress - Water Tupelo Swamp
Chamaecyparis thyoides Forest | Atlantic White-cedar Swamp
Thuja occidentalis - Abies balsamea Forest | Northern White-cedar - Balsam Fir Swamp
Larix laricina / Sphagnum spp. Forest | Tamarack Bog
Picea mariana / Rhododendron groenlandicum / Sphagnum spp. Forest | Black Spruce / Labrador Tea Bog
Chamaedaphne calyculata / Sphagnum spp. Dwarf-shrubland | Leatherleaf Bog
Sarracenia flava - Aristida stricta Herbaceous Vegetation | Yellow Pitcher Plant Seepage Bog
Carex stricta - Calamagrostis canadensis Herbaceous Vegetation | Tussock Sedge Meadow
Typha latifolia Herbaceous Vegetation | Broad-leaved Cattail Marsh
Zizania palustris Herbaceous Vegetation | Northern Wild Rice Marsh
Nymphaea odorata - Nuphar variegata Herbaceous Vegetation | Water-lily Aquatic Wetland
Juniperus virginiana / Schizachyrium scoparium Wooded Herbaceous Vegetation | Limestone Cedar Glade
Sporobolus heterolepis - Carex scirpoidea Herbaceous Vegetation | Great Lakes Alvar Grassland
Tetraneuris herbacea Sparse Vegetation | Lakeside Daisy Alvar Pavement
Pinus banksiana / Vaccinium angustifolium Forest | Jack Pine / Blueberry Barrens
Populus tremuloides - Betula papyrifera Forest | Aspen - Birch Forest | E W
Quercus virginiana / Serenoa repens Forest | Live Oak / Saw Palmetto Maritime Forest
Pinus albicaulis / Vaccinium scoparium Woodland | Whitebark Pine / Grouse Whortleberry Woodland | W
Dryas octopetala - Carex rupestris Herbaceous Vegetation | Mountain-avens - Curly Sedge Alpine Turf | W
Kobresia myosuroides - Geum rossii Herbaceous Vegetation | Bellardi Bog Sedge - Ross's Avens Alpine Meadow | W
Diapensia lapponica Dwarf-shrubland | Diapensia Alpine Fellfield
Vaccinium uliginosum - Carex bigelowii Dwarf-shrubland | Bog Bilberry - Bigelow's Sedge Alpine Heath
Artemisia tridentata / Pseudoroegneria spicata Shrub Herbaceous Vegetation | Big Sagebrush / Bluebunch Wheatgrass Steppe | W
Larrea tridentata - Ambrosia dumosa Shrubland | Creosotebush - White Bursage Desert Scrub | W
Sequoia sempervirens Forest | Coast Redwood Forest | W
"""

COMMUNITIES_EU = """
Helianthemum oelandicum - Festuca oelandica Alvar Grassland | Ölandic Alvar Steppe
Sesleria caerulea - Globularia vulgaris Limestone Heath | Baltic Limestone Heath
Ruppia maritima Brackish Lagoon Vegetation | Étang Tasselweed Beds
Salicornia europaea - Suaeda maritima Pioneer Saltmarsh | Atlantic Pioneer Saltmarsh
Molinia caerulea - Sphagnum spp. Raised Bog | Active Raised Bog
Fagus sylvatica - Galium odoratum Forest | Woodruff Beech Forest
Quercus robur - Carpinus betulus Forest | Oak - Hornbeam Forest
Calluna vulgaris - Erica cinerea Heath | European Dry Heath
Bromus erectus Calcareous Grassland | Semi-natural Dry Calcareous Grassland
Phragmites australis Reedbed | Common Reed Swamp
Cladium mariscus Calcareous Fen | Great Fen-sedge Calcareous Fen
Posidonia oceanica Meadow | Posidonia Seagrass Meadow
Pinus sylvestris - Vaccinium myrtillus Forest | Caledonian Pine Forest
Alnus glutinosa - Fraxinus excelsior Alluvial Forest | Alluvial Alder - Ash Forest
Nardus stricta Montane Grassland | Species-rich Mat-grass Grassland
"""

# Group types in id order: (description, display order). New groups start with
# type 1; the lists show the types alphabetically, so display order and id differ.
GROUP_TYPES = [
    ("Taxonomic Group", 8),
    ("Ecological Guild", 2),
    ("Geographic Assemblage", 3),
    ("Habitat Association", 4),
    ("Conservation Priority", 1),
    ("Management Unit", 5),
    ("Monitoring Program", 6),
    ("Regulatory List", 7),
]

# Themes: the element list, the element category and group member type, the
# group name patterns ({r} is a region), regions, the group types used, and the
# words for the generated texts.
THEMES = [
    dict(key="alpine", elements=ALPINE, category="Plant", member="Botanical",
         names=["Alpine Plants of the {r}", "Alpine Tundra Flora of the {r}", "Snowbed and Fellfield Plants of the {r}"],
         regions=["Colorado Front Range", "Presidential Range", "Beartooth Plateau", "Swiss Alps", "Gaspé Highlands", "Wind River Range", "Uinta Mountains"],
         types=["Habitat Association", "Geographic Assemblage", "Monitoring Program"],
         taxon="alpine vascular plants", habitat="wind-scoured fellfields, snowbeds and alpine turf above treeline",
         threat="warming summers that let shrubs and krummholz advance upslope, and trampling along summit trails",
         trend="Treeline plots show shrub cover rising and snowbed specialists retreating upslope."),
    dict(key="orchids", elements=ORCHIDS, category="Plant", member="Botanical",
         names=["Orchids of the {r}", "Rare Terrestrial Orchids of the {r}", "Lady's-slippers and Fringed Orchids of the {r}"],
         regions=["Bruce Peninsula", "Driftless Area", "New Jersey Pine Barrens", "Chalk Downs of Kent", "Upper Peninsula of Michigan", "Blue Ridge Escarpment"],
         types=["Taxonomic Group", "Conservation Priority", "Monitoring Program"],
         taxon="native terrestrial orchids", habitat="fens, wet prairies, calcareous grasslands and open rich woods",
         threat="collection by orchid enthusiasts, deer browse, hydrological change and woody encroachment",
         trend="Flowering counts fluctuate strongly between years; several populations have not flowered since their last survey."),
    dict(key="prairie", elements=PRAIRIE, category="Plant", member="Botanical",
         names=["Tallgrass Prairie Forbs of the {r}", "Remnant Prairie Indicator Plants of the {r}", "Prairie Grasses of the {r}"],
         regions=["Flint Hills", "Loess Hills", "Grand Prairie of Illinois", "Red River Valley", "Coteau des Prairies", "Osage Plains"],
         types=["Habitat Association", "Ecological Guild", "Management Unit"],
         taxon="prairie grasses and forbs", habitat="unplowed tallgrass and mixed-grass prairie remnants, often on thin or rocky soils",
         threat="conversion to row crops, fire suppression and the spread of woody plants and cool-season exotic grasses",
         trend="Remnant acreage continues to fall; restored sites gain the grasses but rarely the conservative forbs."),
    dict(key="woodland", elements=WOODLAND_HERBS, category="Plant", member="Botanical",
         names=["Spring Ephemerals of the {r}", "Rich Cove Forest Herbs of the {r}", "Medicinal Forest Herbs of the {r}"],
         regions=["Great Smoky Mountains", "Cumberland Plateau", "Big Woods of Minnesota", "Allegheny Plateau", "Ozark Highlands", "Southern Blue Ridge"],
         types=["Ecological Guild", "Habitat Association", "Conservation Priority"],
         taxon="woodland wildflowers", habitat="rich, moist deciduous forest on mesic slopes, coves and floodplain terraces",
         threat="over-browsing by white-tailed deer, commercial harvest of roots, invasive garlic mustard and earthworm invasion",
         trend="Plot resurveys show declining cover of several species where deer densities are high."),
    dict(key="bog", elements=BOG_PLANTS, category="Plant", member="Botanical",
         names=["Carnivorous Plants of the {r}", "Pitcher Plant Bogs of the {r}", "Peatland Flora of the {r}"],
         regions=["Green Swamp", "Gulf Coastal Plain", "Sandhills Region", "Adirondack Lowlands", "Southern Appalachian Mountain Bogs", "Klamath Mountains"],
         types=["Habitat Association", "Ecological Guild", "Conservation Priority"],
         taxon="carnivorous and peatland plants", habitat="open, wet, nutrient-poor seepage bogs, pocosin edges and sphagnum peatlands",
         threat="fire suppression, drainage for forestry, poaching for the horticultural trade and nutrient-rich runoff",
         trend="Populations persist mainly where prescribed fire is applied every one to three years."),
    dict(key="ferns", elements=FERNS, category="Plant", member="Botanical",
         names=["Ferns and Fern Allies of the {r}", "Cliff and Talus Ferns of the {r}", "Quillworts and Clubmosses of the {r}"],
         regions=["Niagara Escarpment", "Shawangunk Ridge", "Finger Lakes Region", "Red River Gorge", "Lake Superior Highlands"],
         types=["Taxonomic Group", "Geographic Assemblage"],
         taxon="ferns and lycophytes", habitat="moist shaded cliffs, limestone talus, seeps and clear oligotrophic lakes",
         threat="rock climbing on cliff faces, quarrying, shoreline development and acid deposition",
         trend="Most populations appear stable; lake quillworts have declined where water clarity fell."),
    dict(key="coastal", elements=COASTAL_PLANTS, category="Plant", member="Botanical",
         names=["Coastal Dune Plants of the {r}", "Salt Marsh Vegetation Indicators of the {r}", "Beach and Overwash Plants of the {r}"],
         regions=["Outer Banks", "Cape Cod National Seashore", "Delmarva Peninsula", "Sleeping Bear Dunes", "Wadden Sea Coast"],
         types=["Habitat Association", "Management Unit", "Monitoring Program"],
         taxon="coastal plants", habitat="beaches, foredunes, interdunal swales and regularly flooded tidal marsh",
         threat="sea-level rise, shoreline hardening, beach raking and off-road vehicle traffic",
         trend="Marsh platforms are drowning in places; upland migration is blocked by development."),
    dict(key="trees", elements=TREES, category="Plant", member="Botanical",
         names=["Forest Trees of the {r}", "Declining Tree Species of the {r}", "Old-growth Canopy Trees of the {r}"],
         regions=["Allegheny National Forest", "Southern Appalachians", "Great Lakes Cutover", "Atlantic Coastal Plain", "Sierra Nevada", "Boundary Waters"],
         types=["Taxonomic Group", "Management Unit", "Conservation Priority"],
         taxon="trees", habitat="upland and wetland forests from boreal spruce-fir to coastal plain swamps",
         threat="introduced pests and pathogens (chestnut blight, hemlock woolly adelgid, emerald ash borer), altered fire regimes and high-grade logging",
         trend="Ash and hemlock are in steep decline; chestnut survives as root sprouts."),
    dict(key="alvar", elements=ALVAR_PLANTS, category="Plant", member="Botanical", areas="EU",
         names=["Alvar Plants of the {r}", "Limestone Pavement Flora of the {r}"],
         regions=["Stora Alvaret, Öland", "Gotland Alvars", "Manitoulin Island", "Carden Plain", "Drummond Island"],
         types=["Habitat Association", "Geographic Assemblage"],
         taxon="alvar plants", habitat="thin-soiled limestone pavement and alvar grassland that floods in spring and bakes dry in summer",
         threat="abandonment of grazing, juniper and pine encroachment, quarrying and off-road vehicles",
         trend="Where grazing resumed, open alvar grassland has recovered within a decade."),
    dict(key="aquatic", elements=AQUATIC_PLANTS, category="Plant", member="Botanical",
         names=["Aquatic Macrophytes of the {r}", "Wild Rice Waters of the {r}"],
         regions=["Mississippi Headwaters", "Cahaba River", "Lake Champlain Basin", "St. Croix River"],
         types=["Habitat Association", "Monitoring Program"],
         taxon="aquatic plants", habitat="shallow lakes, slow rivers and shoals with clear water and stable levels",
         threat="nutrient loading, altered water levels from dams, invasive watermilfoil and boat wakes",
         trend="Wild rice beds vary strongly with spring water levels; several have not recovered from high-water years."),
    dict(key="mussels", elements=MUSSELS, category="Animal", member="Zoological",
         names=["Freshwater Mussels of the {r}", "Imperiled Unionids of the {r}", "Mussel Beds of the {r}"],
         regions=["Ohio Basin", "Tennessee River", "Cumberland River", "Green River", "Clinch-Powell Watershed", "Upper Mississippi", "Allegheny River", "St. Croix River"],
         types=["Taxonomic Group", "Conservation Priority", "Monitoring Program", "Regulatory List"],
         taxon="freshwater mussels", habitat="stable sand and gravel riffles and runs of medium to large rivers",
         threat="impoundment, sedimentation, coal and agricultural runoff, loss of host fishes and zebra mussel fouling",
         trend="Recruitment is poor in most beds; propagated juveniles are being released at several sites."),
    dict(key="fishes", elements=FISHES, category="Animal", member="Zoological",
         names=["Darters and Madtoms of the {r}", "Riverine Fishes of the {r}", "Coldwater Fishes of the {r}"],
         regions=["Tippecanoe River", "Duck River", "Little Tennessee River", "Big South Fork", "Scioto River", "Roanoke River", "Upper Missouri"],
         types=["Taxonomic Group", "Ecological Guild", "Monitoring Program"],
         taxon="freshwater fishes", habitat="clear, swift riffles with clean gravel, cobble and boulder substrates",
         threat="siltation, channelisation, dams that fragment populations and warming water temperatures",
         trend="Several darters have been reintroduced to restored reaches; large-river species continue to decline."),
    dict(key="salamanders", elements=SALAMANDERS, category="Animal", member="Zoological",
         names=["Salamanders of the {r}", "Lungless Salamanders of the {r}", "Vernal Pool Amphibians of the {r}"],
         regions=["Southern Appalachians", "Shenandoah National Park", "Cheat Mountain", "Edwards Plateau", "Allegheny Front"],
         types=["Taxonomic Group", "Habitat Association", "Conservation Priority"],
         taxon="salamanders", habitat="cool, moist forest floors, seeps, headwater streams and fishless vernal pools",
         threat="forest clearing, road mortality during breeding migrations, chytrid fungi and climate drying",
         trend="High-elevation endemics are restricted to shrinking cool refugia."),
    dict(key="frogs", elements=FROGS, category="Animal", member="Zoological",
         names=["Frogs and Toads of the {r}", "Breeding Pond Anurans of the {r}"],
         regions=["Pine Barrens", "Lost Pines of Texas", "Sierra Nevada", "Gulf Coastal Plain"],
         types=["Taxonomic Group", "Monitoring Program"],
         taxon="frogs and toads", habitat="ephemeral and permanent ponds, wet meadows and the surrounding uplands",
         threat="wetland loss, introduced predatory fishes, disease and pesticide drift",
         trend="Call surveys show stable common species and continuing declines of the specialists."),
    dict(key="reptiles", elements=REPTILES, category="Animal", member="Zoological",
         names=["Turtles of the {r}", "Imperiled Reptiles of the {r}", "Rattlesnake Dens of the {r}"],
         regions=["Delaware River Valley", "Florida Sandhills", "Great Lakes Coastal Wetlands", "Mojave Desert", "Kankakee Sands"],
         types=["Taxonomic Group", "Conservation Priority", "Regulatory List"],
         taxon="turtles, snakes and lizards", habitat="open wetlands, sandhills, rocky den sites and their connecting uplands",
         threat="road mortality, illegal collection for the pet trade, persecution and succession of open habitat",
         trend="Adult survival is the key to persistence; head-starting supports several turtle populations."),
    dict(key="birds", elements=BIRDS, category="Animal", member="Zoological",
         names=["Grassland Birds of the {r}", "Marsh and Shorebirds of the {r}", "Forest Songbirds of the {r}", "Birds of Conservation Concern of the {r}"],
         regions=["Northern Great Plains", "Chesapeake Bay", "Jack Pine Plains of Michigan", "Platte River", "Gulf Coast", "Appalachian Highlands"],
         types=["Ecological Guild", "Conservation Priority", "Monitoring Program", "Regulatory List"],
         taxon="birds", habitat="large, unfragmented blocks of grassland, marsh, beach or mature forest",
         threat="habitat loss and fragmentation, early mowing, disturbance at nest sites and collisions",
         trend="Breeding Bird Survey trends are negative for most grassland species since 1966."),
    dict(key="mammals", elements=MAMMALS, category="Animal", member="Zoological",
         names=["Bats of the {r}", "Carnivores of the {r}", "Mammals of Conservation Concern of the {r}"],
         regions=["Appalachian Karst", "Northern Rockies", "Florida Everglades", "Northern Great Plains", "New England"],
         types=["Taxonomic Group", "Conservation Priority", "Regulatory List"],
         taxon="mammals", habitat="caves and mines for hibernating bats, large connected forests and grasslands for carnivores",
         threat="white-nose syndrome, wind turbine collisions, habitat fragmentation and vehicle strikes",
         trend="Hibernating bat counts fell by more than 90 percent at many sites after white-nose syndrome arrived."),
    dict(key="lepidoptera", elements=LEPIDOPTERA, category="Animal", member="Zoological",
         names=["Butterflies of the {r}", "Prairie-dependent Lepidoptera of the {r}", "Moths and Butterflies of the {r}"],
         regions=["Albany Pine Bush", "Oak Openings", "Tallgrass Prairie Preserve", "Great Lakes Fens", "Blue Ridge Parkway"],
         types=["Taxonomic Group", "Ecological Guild", "Monitoring Program"],
         taxon="butterflies and moths", habitat="open habitats holding their larval host plants and nectar sources",
         threat="loss of host plants, broad-spectrum insecticides, fire at the wrong season and succession",
         trend="Transect counts show sharp declines of prairie specialists since 2000."),
    dict(key="insects", elements=INSECTS, category="Animal", member="Zoological",
         names=["Pollinating Bees of the {r}", "Tiger Beetles and Dragonflies of the {r}"],
         regions=["Upper Midwest", "Atlantic Beaches", "Door Peninsula", "Ozark Plateau"],
         types=["Ecological Guild", "Conservation Priority"],
         taxon="insects", habitat="flower-rich grasslands, sandy beaches and spring-fed fens",
         threat="pesticides, pathogen spill-over from managed bees, beach grooming and groundwater withdrawal",
         trend="Historic ranges have contracted sharply; several species persist in a handful of sites."),
    dict(key="crayfish", elements=CRAYFISH, category="Animal", member="Zoological",
         names=["Crayfishes of the {r}", "Native and Invasive Crayfishes of the {r}"],
         regions=["Big Sandy Basin", "Cumberland Basin", "Pacific Northwest", "British Chalk Streams"],
         types=["Taxonomic Group", "Management Unit"],
         taxon="crayfishes", habitat="cobble riffles and burrows in stream banks and wet meadows",
         threat="invasive crayfishes and the crayfish plague they carry, sedimentation from mining and logging",
         trend="Native species retreat as invasive crayfishes spread upstream."),
    dict(key="communities_na", elements=COMMUNITIES_NA, category="Community", member="Ecological",
         names=["Natural Communities of the {r}", "Imperiled Ecological Associations of the {r}", "Fire-dependent Communities of the {r}", "Wetland Communities of the {r}"],
         regions=["Southeastern Coastal Plain", "Northern Appalachians", "Great Lakes Region", "Central Tallgrass Prairie", "Intermountain West", "Atlantic Coast"],
         types=["Habitat Association", "Conservation Priority", "Management Unit"],
         taxon="ecological communities", habitat="the full range of upland, wetland and coastal settings of the region",
         threat="conversion, altered fire and flood regimes, invasive species and fragmentation",
         trend="Occurrences of high quality are few and small; most remaining examples need active management."),
    dict(key="communities_eu", elements=COMMUNITIES_EU, category="Community", member="Ecological", areas="EU",
         names=["Habitats of the {r}", "Priority Habitat Types of the {r}"],
         regions=["Baltic Sea Region", "Camargue Étangs", "Atlantic Biogeographic Region", "Scottish Highlands"],
         types=["Habitat Association", "Regulatory List"],
         taxon="habitat types", habitat="semi-natural grasslands, heaths, mires, forests and coastal lagoons",
         threat="abandonment of traditional grazing and mowing, drainage, eutrophication and coastal development",
         trend="Conservation status reports list most of these habitats as unfavourable-inadequate."),
]


# Regions outside eastern and central North America.
REGION_AREAS = {
    "Colorado Front Range": "W", "Beartooth Plateau": "W", "Wind River Range": "W", "Uinta Mountains": "W",
    "Sierra Nevada": "W", "Klamath Mountains": "W", "Upper Missouri": "W", "Mojave Desert": "W",
    "Northern Rockies": "W", "Pacific Northwest": "W", "Intermountain West": "W",
    "Swiss Alps": "EU", "Chalk Downs of Kent": "EU", "Wadden Sea Coast": "EU", "Stora Alvaret, Öland": "EU",
    "Gotland Alvars": "EU", "British Chalk Streams": "EU", "Baltic Sea Region": "EU", "Camargue Étangs": "EU",
    "Atlantic Biogeographic Region": "EU", "Scottish Highlands": "EU",
}


def region_area(region):
    return REGION_AREAS.get(region, "E")


def parse_elements(block, default_areas="E"):
    """Answers (scientific name, common name or None, set of areas) of each line of a block."""
    entries = []
    for line in block.strip().splitlines():
        parts = [part.strip() for part in line.split("|")] + [""]
        sci, common, areas = parts[0], parts[1], parts[2]
        entries.append((sci, common or None, set((areas or default_areas).split())))
    return entries
